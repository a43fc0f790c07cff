// The frame's savings leave the picture alone: a scripted game drawn with every saving and the
// same game drawn with none, read back frame by frame, match bit for bit, except for isolated
// outline pixels where, without the savings, a sphere's back face was what the pixel showed.
// And the overlay drawn again on top changes nothing where the depth test already kept it in
// front: in single-sampled windows the game's frames with it and without it match bit for bit.
#include "world/view_volume.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/main_loop.h"
#include "app/window.h"
#include "core/game_state.h"
#include "core/gl.h"
#include "play/input.h"
#include "render/frame.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"
#include "world/scene_objects.h"
#include "world/sphere_mesh.h"

namespace {

constexpr int kSweepFrames = 216;  // the view turns round, the player shoots
constexpr int kFlyFrames = 64;     // then flies into a target and through it
constexpr int kCornerFrames = 40;  // then looks into the arena's corners
constexpr int kFrames = kSweepFrames + kFlyFrames + kCornerFrames;
constexpr int kWidth = 1024, kHeight = 768;
constexpr int kFrameBytes = kWidth * kHeight * 3;
constexpr int kTickMs = 17;
constexpr long long kSeedSecond = 1765100000;
constexpr double kDegreesPerPixel = 0.25;
constexpr double kDegrees = 180 / 3.141592653589793;

using Frame = std::vector<unsigned char>;

struct Outcome {
    int frames = 0;
    int hits = 0;       // targets a shot started dying
    int removed = 0;    // targets whose flash ended and that the frame deleted
    int eyeInside = 0;  // frames drawn with the eye inside a live target
};

Vec3 eyeInScene() {
    return {g_playerPos.x, g_playerPos.y, -g_playerPos.z};
}

bool isTarget(const Object* o) {
    return dynamic_cast<const Sphere*>(o) && !dynamic_cast<const PersonSphere*>(o);
}

bool eyeInsideATarget() {
    const Vec3 eye = eyeInScene();
    for (Object* o : g_objects) {
        if (isTarget(o) && o->contains(eye.x, eye.y, eye.z)) return true;
    }
    return false;
}

// Turns the view by the pointer, as a player would, to the given yaw and pitch.
void turnTo(double yaw, double pitch) {
    double turn = yaw - g_yaw;
    turn -= 360 * std::round(turn / 360);
    onMouseMove(512 + static_cast<int>(std::lround(turn / kDegreesPerPixel)),
                384 + static_cast<int>(std::lround((pitch - g_pitch) / kDegreesPerPixel)));
}

// The unturned ray (0, 0, 1) becomes (sin yaw cos pitch, -sin pitch, cos yaw cos pitch) in
// the player frame, whose z is the scene's -z.
void aimAt(const Vec3& point) {
    const Vec3 eye = eyeInScene();
    const double dx = point.x - eye.x, dy = point.y - eye.y, dz = -(point.z - eye.z);
    turnTo(std::atan2(dx, dz) * kDegrees, -std::atan2(dy, std::hypot(dx, dz)) * kDegrees);
}

int dyingTargets() {
    int n = 0;
    for (Object* o : g_objects) {
        const Sphere* s = dynamic_cast<Sphere*>(o);
        n += isTarget(o) && s->dying;
    }
    return n;
}

// The nearest live target at least minDistance away, or null.
Sphere* nearestTarget(double minDistance) {
    Sphere* best = nullptr;
    double bestDistance = 1e9;
    const Vec3 eye = eyeInScene();
    for (Object* o : g_objects) {
        Sphere* s = dynamic_cast<Sphere*>(o);
        if (!isTarget(o) || s->dying) continue;
        const double d = std::hypot(s->pos.x - eye.x, s->pos.y - eye.y, s->pos.z - eye.z);
        if (d > minDistance && d < bestDistance) {
            bestDistance = d;
            best = s;
        }
    }
    return best;
}

void aimAtNearestTarget() {
    if (const Sphere* target = nearestTarget(3)) aimAt(target->pos);
}

void shoot(Outcome& outcome) {
    const int before = dyingTargets();
    onMouseButton(kMouseLeft, kPress);
    onMouseButton(kMouseLeft, kRelease);
    outcome.hits += dyingTargets() - before;
}

// The first part of the game: the view sweeps a full turn and some 70 degrees up and down, the
// player flies, zooms, shoots at targets and past them and takes the shotgun once it is
// unlocked.
void sweepAndShoot(int f, Outcome& outcome) {
    onMouseMove(512 + 7, 384 + (((f + 24) / 48) % 2 == 0 ? 12 : -12));
    if (f == 0) onKey('W', kPress);
    if (f == 90) onKey('W', kRelease), onKey('A', kPress);
    if (f == 150) onKey('A', kRelease), onKey('S', kPress);
    if (f == 60 || f == 130) onMouseButton(kMouseRight, kPress);  // zoom in, and out
    if (g_shotgunUnlocked && g_weapon == Pistol) onKey('E', kPress);
    if (f % 12 == 0) {
        aimAtNearestTarget();
        shoot(outcome);
    } else if (f % 12 == 6) {
        shoot(outcome);
    }
}

// Then the player steers at the nearest target until the eye is inside it, and flies on.
void flyThrough(int f, Sphere*& steeringAt) {
    if (f == 0) {
        onKey('S', kRelease), onKey('W', kPress);
        steeringAt = nearestTarget(0);
    }
    if (eyeInsideATarget()) steeringAt = nullptr;
    if (steeringAt) aimAt(steeringAt->pos);
}

// Last, four corners of the arena, looking up and down into each.
void lookIntoCorners(int f) {
    if (f == 0) onKey('W', kRelease);
    const int corner = f / 10;
    turnTo(45 + 90 * corner + (f % 10), corner % 2 == 0 ? 35 : -35);
}

// One scripted game. Every frame is read back and handed to seeFrame; false from it ends the
// game there.
Outcome playScriptedGame(const std::function<bool(const Frame&)>& seeFrame) {
    Outcome outcome;
    g_fakeCalendarSeconds = kSeedSecond;
    onKey('P', kPress);
    advanceGame();  // the game's first pass only starts the tick clock
    Frame frame(kFrameBytes);
    Sphere* steeringAt = nullptr;
    for (int f = 0; f < kFrames; ++f) {
        g_fakeClockMs += kTickMs;
        if (f < kSweepFrames) {
            sweepAndShoot(f, outcome);
        } else if (f < kSweepFrames + kFlyFrames) {
            flyThrough(f - kSweepFrames, steeringAt);
        } else {
            lookIntoCorners(f - kSweepFrames - kFlyFrames);
        }
        outcome.eyeInside += eyeInsideATarget();
        if (!advanceGame()) break;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        if (!seeFrame(frame)) break;
        ++outcome.frames;
    }
    outcome.removed = 130 - g_targetsLeft;
    return outcome;
}

bool transfer(int fd, unsigned char* data, size_t size, bool out) {
    while (size > 0) {
        const ssize_t n = out ? write(fd, data, size) : read(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Lights the back faces of every sphere unlit magenta, the front faces as before: a pixel of
// this picture differs from the plain one only where one of its samples showed a back face.
// Lighting decides nothing the depth test decides, so the rest of the frame stays as it is.
void markSphereBackFaces() {
    Sphere probe({0, 0, 0}, {1, 1, 1}, {0, 0, 0}, 1, 1, 1, 1, 1, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, 0, 1000);  // behind the eye: compiles the game's own list, draws nothing
    drawSphereMesh(probe);
    glPopMatrix();
    const unsigned plain = g_sphereLists.at(probe.slices);
    const unsigned marked = glGenLists(1);
    constexpr GLfloat kMagenta[4] = {1, 0, 1, 1}, kNone[4] = {0, 0, 0, 1};
    glNewList(marked, GL_COMPILE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glMaterialfv(GL_BACK, GL_EMISSION, kMagenta);
    glMaterialfv(GL_BACK, GL_AMBIENT, kNone);
    glMaterialfv(GL_BACK, GL_DIFFUSE, kNone);
    glMaterialfv(GL_BACK, GL_SPECULAR, kNone);
    glCallList(plain);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glEndList();
    g_sphereLists[probe.slices] = marked;
}

// How a child process draws the scripted game.
struct Drawing {
    int samples;        // the window's samples per pixel
    bool savings;       // view and back-face culling
    bool marked;        // sphere back faces lit magenta
    bool overlayOnTop;  // the overlay drawn again after the scene
};

// The game drawn another way in a child process with a window of its own, which sends each
// frame through a pipe, so the pictures of a frame are compared whole without storing a game.
struct ChildGame {
    pid_t pid = -1;
    int frames = -1;  // read end of the pipe

    explicit ChildGame(const Drawing& drawing) {
        int ends[2];
        if (pipe(ends) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(ends[0]);
            g_windowSamples = drawing.samples;
            openGameWindow();
            GLint samples = -1;
            glGetIntegerv(GL_SAMPLES, &samples);
            if (drawing.samples == 0 && samples != 0) _exit(2);  // no single-sampled visual
            g_viewCulling = g_backFaceCulling = drawing.savings;
            g_overlayOnTop = drawing.overlayOnTop;
            if (drawing.marked) markSphereBackFaces();
            const Outcome o = playScriptedGame([&](const Frame& frame) {
                return transfer(ends[1], const_cast<unsigned char*>(frame.data()), frame.size(),
                                true);
            });
            _exit(o.frames == kFrames ? 0 : 1);
        }
        close(ends[1]);
        frames = ends[0];
    }

    bool receive(Frame& frame) { return transfer(frames, frame.data(), frame.size(), false); }

    // Closing first: a child still writing gets SIGPIPE instead of blocking.
    void end() {
        close(frames);
        int status = -1;
        if (pid > 0) waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
};

struct Rgb8 {
    const unsigned char* p;
    bool operator==(const Rgb8& o) const {
        return p[0] == o.p[0] && p[1] == o.p[1] && p[2] == o.p[2];
    }
    bool operator!=(const Rgb8& o) const { return !(*this == o); }
};

Rgb8 pixel(const Frame& frame, int x, int y) {
    return {frame.data() + 3 * (static_cast<size_t>(y) * kWidth + x)};
}

// On an outline: some pixel next to it has another colour.
bool onAnEdge(const Frame& frame, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= kWidth || ny >= kHeight) continue;
            if (pixel(frame, nx, ny) != pixel(frame, x, y)) return true;
        }
    }
    return false;
}

class ViewVolume : public GameStateTest {};

}  // namespace

// A frame drawn with the savings may differ from the plain frame only in at most 4 pixels, no
// two of them neighbours, each on an outline of the plain frame and each one where the
// marked frame shows that a sphere's back face was what the plain pixel showed.
// The overlay drawn again on top must change no pixel of a single-sampled frame.
TEST_F(ViewVolume, FramesWithSavingsMatchFramesWithoutThem) {
    g_samplesOnCpu = true;  // the pictures as a GPU draws them, samples and all
    ChildGame plainGame({4, false, false, true}), markedGame({4, false, true, true});
    ChildGame overlayOnce({0, true, false, false}), overlayTwice({0, true, false, true});
    ASSERT_GT(plainGame.pid, 0);
    ASSERT_GT(markedGame.pid, 0);
    ASSERT_GT(overlayOnce.pid, 0);
    ASSERT_GT(overlayTwice.pid, 0);

    openGameWindow();
    const long meshesCulledBefore = g_meshesCulled, panelsCulledBefore = g_panelsCulled;
    const long backCulledBefore = g_meshesBackCulled;
    Frame plain(kFrameBytes), marked(kFrameBytes), once(kFrameBytes), twice(kFrameBytes);
    int frame = 0, changedFrames = 0, changedPixels = 0, framesMarked = 0, rejected = 0;
    int singleFrames = 0, singleChanged = 0;
    const Outcome o = playScriptedGame([&](const Frame& saved) {
        if (!plainGame.receive(plain) || !markedGame.receive(marked) ||
            !overlayOnce.receive(once) || !overlayTwice.receive(twice)) {
            return false;
        }
        ++singleFrames;
        if (twice != once) {
            ++singleChanged;
            ADD_FAILURE() << "frame " << frame << ": the overlay on top changed the picture";
        }
        framesMarked += marked != plain;
        std::vector<std::pair<int, int>> changed;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (pixel(saved, x, y) != pixel(plain, x, y)) changed.emplace_back(x, y);
            }
        }
        changedFrames += !changed.empty();
        changedPixels += static_cast<int>(changed.size());
        auto reject = [&](const char* why, int x, int y) {
            ADD_FAILURE() << "frame " << frame << ", pixel (" << x << ", " << kHeight - 1 - y
                          << " from the top): " << why;
            ++rejected;
        };
        if (changed.size() > 4) {
            reject("more than 4 pixels changed", changed[0].first, changed[0].second);
            changed.clear();
        }
        for (size_t i = 0; i < changed.size(); ++i) {
            const auto [x, y] = changed[i];
            const Rgb8 was = pixel(plain, x, y), now = pixel(saved, x, y),
                       mark = pixel(marked, x, y);
            std::printf(
                "frame %d, pixel (%d, %d from the top): (%d, %d, %d) became (%d, %d, %d); "
                "marked (%d, %d, %d)\n",
                frame, x, kHeight - 1 - y, was.p[0], was.p[1], was.p[2], now.p[0], now.p[1],
                now.p[2], mark.p[0], mark.p[1], mark.p[2]);
            if (mark == was) reject("changed pixel showed no back face", x, y);
            if (!onAnEdge(plain, x, y)) reject("changed pixel off any outline", x, y);
            for (size_t j = i + 1; j < changed.size(); ++j) {
                if (std::abs(changed[j].first - x) <= 1 && std::abs(changed[j].second - y) <= 1) {
                    reject("two changed pixels side by side", x, y);
                }
            }
        }
        ++frame;
        return rejected + singleChanged < 20;  // enough to see what went wrong
    });
    // Last started first: a child holds the read ends of the pipes made before it, so an earlier
    // child stopped halfway gets its SIGPIPE only once the later ones are gone.
    for (ChildGame* child : {&overlayTwice, &overlayOnce, &markedGame, &plainGame}) child->end();

    EXPECT_EQ(o.frames, kFrames);
    EXPECT_EQ(singleFrames, kFrames);
    // The script did what it is for: shots, flashes, the eye inside a target, back faces
    // near enough to the surface to show, and every saving at work.
    EXPECT_GE(o.hits, 5);
    EXPECT_GE(o.removed, 3);
    EXPECT_GE(o.eyeInside, 2);
    EXPECT_EQ(g_weapon, Shotgun);  // so its recoil pulled the view back too
    EXPECT_GT(framesMarked, kFrames / 4);
    EXPECT_GT(g_meshesCulled - meshesCulledBefore, 100 * kFrames);
    EXPECT_GT(g_panelsCulled - panelsCulledBefore, kFrames);
    EXPECT_GT(g_meshesBackCulled - backCulledBefore, kFrames);
    std::printf(
        "%d frames, %d with changed pixels, %d pixels changed, %d frames showing back "
        "faces; eye inside a target in %d; %d shot hits, %d targets removed; %ld meshes "
        "and %ld panels culled, %ld meshes drawn front faces only\n",
        o.frames, changedFrames, changedPixels, framesMarked, o.eyeInside, o.hits, o.removed,
        g_meshesCulled - meshesCulledBefore, g_panelsCulled - panelsCulledBefore,
        g_meshesBackCulled - backCulledBefore);
    std::printf("single-sampled, overlay once and overlay again on top: %d frames, %d differ\n",
                singleFrames, singleChanged);
}
