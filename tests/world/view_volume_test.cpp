// View-volume culling leaves the picture alone: a scripted game drawn with culling and the
// same game drawn without it, read back frame by frame, match bit for bit.
#include "world/view_volume.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "play/input.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"
#include "world/scene_objects.h"

namespace {

constexpr int kFrames = 216;
constexpr int kFrameBytes = 1024 * 768 * 3;
constexpr int kTickMs = 17;
constexpr long long kSeedSecond = 1765100000;
constexpr double kDegreesPerPixel = 0.25;
constexpr double kDegrees = 180 / 3.141592653589793;

using Frame = std::vector<unsigned char>;

struct Outcome {
    int frames = 0;
    int hits = 0;     // targets a shot started dying
    int removed = 0;  // targets whose flash ended and that the frame deleted
};

int dyingTargets() {
    int n = 0;
    for (Object* o : g_objects) {
        const Sphere* s = dynamic_cast<Sphere*>(o);
        n += s && s->dying && !dynamic_cast<PersonSphere*>(o);
    }
    return n;
}

// Turns the view onto the nearest live target through the pointer, as a player would.
void aimAtNearestTarget() {
    const Sphere* best = nullptr;
    double bestDistance = 1e9;
    const Vec3 eye = {g_playerPos.x, g_playerPos.y, -g_playerPos.z};
    for (Object* o : g_objects) {
        const Sphere* s = dynamic_cast<Sphere*>(o);
        if (!s || s->dying || dynamic_cast<PersonSphere*>(o)) continue;
        const double d = std::hypot(s->pos.x - eye.x, s->pos.y - eye.y, s->pos.z - eye.z);
        if (d > 3 && d < bestDistance) {
            bestDistance = d;
            best = s;
        }
    }
    if (!best) return;
    // The unturned ray (0, 0, 1) becomes (sin yaw cos pitch, -sin pitch, cos yaw cos pitch) in
    // the player frame, whose z is the scene's -z.
    const double dx = best->pos.x - eye.x, dy = best->pos.y - eye.y, dz = -(best->pos.z - eye.z);
    const double pitch = -std::atan2(dy, std::hypot(dx, dz)) * kDegrees;
    double turn = std::atan2(dx, dz) * kDegrees - g_yaw;
    turn -= 360 * std::round(turn / 360);
    onMouseMove(512 + static_cast<int>(std::lround(turn / kDegreesPerPixel)),
                384 + static_cast<int>(std::lround((pitch - g_pitch) / kDegreesPerPixel)));
}

void shoot(Outcome& outcome) {
    const int before = dyingTargets();
    onMouseButton(kMouseLeft, kPress);
    onMouseButton(kMouseLeft, kRelease);
    outcome.hits += dyingTargets() - before;
}

// One game: the view sweeps a full turn and some 70 degrees up and down, the player flies,
// zooms, shoots at targets and past them and takes the shotgun once it is unlocked. Every
// frame is read back and handed to seeFrame; false from it ends the game there.
Outcome playScriptedGame(const std::function<bool(const Frame&)>& seeFrame) {
    Outcome outcome;
    g_fakeCalendarSeconds = kSeedSecond;
    onKey('P', kPress);
    advanceGame();  // the game's first pass only starts the tick clock
    Frame frame(kFrameBytes);
    for (int f = 0; f < kFrames; ++f) {
        g_fakeClockMs += kTickMs;
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
        if (!advanceGame()) break;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
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

class ViewVolume : public GameStateTest {};

}  // namespace

// The unculled game runs in a child process with a window of its own and sends each frame
// through a pipe, so the two pictures of a frame are compared whole without storing a game.
TEST_F(ViewVolume, CulledFramesMatchUnculledFramesBitForBit) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        openGameWindow();
        g_viewCulling = false;
        const Outcome o = playScriptedGame([&](const Frame& frame) {
            return transfer(pipeEnds[1], const_cast<unsigned char*>(frame.data()), frame.size(),
                            true);
        });
        _exit(o.frames == kFrames ? 0 : 1);
    }
    close(pipeEnds[1]);

    openGameWindow();
    const long meshesCulledBefore = g_meshesCulled;
    const long panelsCulledBefore = g_panelsCulled;
    Frame unculled(kFrameBytes);
    int frame = 0, differing = 0, firstDiffering = -1;
    const Outcome o = playScriptedGame([&](const Frame& culled) {
        if (!transfer(pipeEnds[0], unculled.data(), unculled.size(), false)) return false;
        if (culled != unculled && differing++ == 0) firstDiffering = frame;
        ++frame;
        return true;
    });
    close(pipeEnds[0]);  // a child still writing now gets SIGPIPE
    int status = 0;
    waitpid(child, &status, 0);

    EXPECT_EQ(o.frames, kFrames);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "unculled game: " << status;
    EXPECT_EQ(differing, 0) << "first differing frame: " << firstDiffering;
    EXPECT_GE(o.hits, 5);
    EXPECT_GE(o.removed, 3);
    EXPECT_GT(g_meshesCulled - meshesCulledBefore, 100 * kFrames);
    EXPECT_GT(g_panelsCulled - panelsCulledBefore, kFrames);
    EXPECT_EQ(g_weapon, Shotgun);  // so its recoil pulled the view back too
    std::printf("%d frames, %d differing; %d shot hits, %d targets removed; %ld meshes and %ld "
                "panels culled\n",
                o.frames, differing, o.hits, o.removed, g_meshesCulled - meshesCulledBefore,
                g_panelsCulled - panelsCulledBefore);
}
