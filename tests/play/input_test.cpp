// Input callbacks: movement keys, aiming, buttons, the weapon switch, game keys, ignored codes.
#include "play/input.h"

#include <GLFW/glfw3.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/game_state.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"

namespace {

class MovementKeys : public GameStateTest {};
class PointerAim : public GameStateTest {};
class MouseButtons : public GameStateTest {};
class WeaponSwitch : public GameStateTest {};
class GameKeys : public GameStateTest {};

void press(int key) {
    onKey(key, kPress);
}
void release(int key) {
    onKey(key, kRelease);
}

void expectMoveDir(float x, float y, float z) {
    using ::testing::FloatNear;
    EXPECT_THAT(g_moveDir, ::testing::FieldsAre(FloatNear(x, 5e-5), FloatNear(y, 5e-5),
                                                FloatNear(z, 5e-5)));
}

bool sameBits(const Vec3& a, const Vec3& b) {
    return std::memcmp(&a, &b, sizeof(Vec3)) == 0;
}

}  // namespace

TEST_F(MovementKeys, LastPressWinsAndReleaseStopsTheAxis) {
    press('A');
    expectMoveDir(1, 0, 0);
    press('D');
    expectMoveDir(-1, 0, 0);
    release('A');  // D is still down, but the axis is cleared
    EXPECT_TRUE(sameBits(g_moveDir, Vec3{0, 0, 0}));
}

TEST_F(MovementKeys, ForwardAndStrafeAreNormalisedThenReleased) {
    press('W');
    expectMoveDir(0, 0, -1);
    press('A');
    expectMoveDir(0.70710678f, 0, -0.70710678f);
    release('W');
    expectMoveDir(1, 0, 0);
    press('S');
    expectMoveDir(0.70710678f, 0, 0.70710678f);
}

TEST_F(MovementKeys, DirectionIsRenormalisedInPlaceNotRebuilt) {
    press('W');
    press('A');
    press('D');
    expectMoveDir(-0.81649658f, 0, -0.57735027f);
}

TEST_F(MovementKeys, ReleasingAnAxisAlreadyZeroChangesNothing) {
    press('W');
    const Vec3 forward = g_moveDir;
    release('A');
    release('D');
    EXPECT_TRUE(sameBits(g_moveDir, forward));

    press('A');
    release('W');
    const Vec3 strafe = g_moveDir;
    release('S');
    EXPECT_TRUE(sameBits(g_moveDir, strafe));
}

TEST_F(MovementKeys, AVectorThatBecomesZeroStaysZero) {
    press('S');
    release('S');
    EXPECT_TRUE(sameBits(g_moveDir, Vec3{0, 0, 0}));
    release('D');
    release('W');
    EXPECT_TRUE(sameBits(g_moveDir, Vec3{0, 0, 0}));  // no 0/0
}

TEST_F(MovementKeys, AnyNonZeroActionIsAPress) {
    onKey('W', 2);
    expectMoveDir(0, 0, -1);
}

TEST_F(MovementKeys, WorkOnTheTitleScreenAndAStartClearsThem) {
    press('W');
    EXPECT_FALSE(g_inGame);
    expectMoveDir(0, 0, -1);
    press('P');
    EXPECT_TRUE(sameBits(g_moveDir, Vec3{0, 0, 0}));
}

TEST_F(PointerAim, OffsetsTurnAtAQuarterDegreePerPixel) {
    onMouseMove(512 + 8, 384 + 10);  // right and down
    EXPECT_EQ(g_yaw, 2.0);
    EXPECT_EQ(g_pitch, 2.5);
    onMouseMove(512 - 4, 384 - 2);
    EXPECT_EQ(g_yaw, 1.0);
    EXPECT_EQ(g_pitch, 2.0);
}

TEST_F(PointerAim, CentreChangesNothing) {
    g_pitch = 12.75;
    g_yaw = 359.5;
    onMouseMove(512, 384);
    EXPECT_EQ(g_pitch, 12.75);
    EXPECT_EQ(g_yaw, 359.5);
}

TEST_F(PointerAim, PitchClampsAtNinetyBothWays) {
    onMouseMove(512, 384 + 360);
    EXPECT_EQ(g_pitch, 90.0);
    onMouseMove(512, 385);
    EXPECT_EQ(g_pitch, 90.0);
    onMouseMove(512, 384 - 1000);
    EXPECT_EQ(g_pitch, -90.0);
    onMouseMove(512, 383);
    EXPECT_EQ(g_pitch, -90.0);
    onMouseMove(512, 385);
    EXPECT_EQ(g_pitch, -89.75);
}

TEST_F(PointerAim, YawWrapsOnceAndKeepsExactly360) {
    onMouseMove(511, 384);
    EXPECT_EQ(g_yaw, 359.75);
    onMouseMove(513, 384);
    EXPECT_EQ(g_yaw, 360.0);  // exactly 360 is not wrapped
    onMouseMove(513, 384);
    EXPECT_EQ(g_yaw, 0.25);

    g_yaw = 0;
    onMouseMove(512 + 2000, 384);  // 500 degrees: one correction only
    EXPECT_EQ(g_yaw, 140.0);
}

TEST_F(PointerAim, FarOffPositionsDoNotOverflow) {
    onMouseMove(-2147483647 - 1, 2147483647);
    EXPECT_EQ(g_pitch, 90.0);
    EXPECT_EQ(g_yaw, (-2147483648.0 - 512) * 0.25 + 360);
}

TEST_F(MouseButtons, RightPressTogglesZoom) {
    onMouseButton(kMouseRight, kPress);
    EXPECT_EQ(g_zoom, 1.5);
    onMouseButton(kMouseRight, kRelease);
    EXPECT_EQ(g_zoom, 1.5);
    onMouseButton(kMouseRight, kPress);
    EXPECT_EQ(g_zoom, 1.0);

    g_zoom = 1.2;
    onMouseButton(kMouseRight, kPress);
    EXPECT_EQ(g_zoom, 1.0);
    g_zoom = 0.5;
    onMouseButton(kMouseRight, kPress);
    EXPECT_EQ(g_zoom, 1.5);
}

TEST_F(MouseButtons, LeftPressFiresPistolAtOnceReleaseDoesNot) {
    onMouseButton(kMouseLeft, kRelease);
    EXPECT_FALSE(g_justFired);
    onMouseButton(kMouseLeft, kPress);
    EXPECT_TRUE(g_justFired);
    EXPECT_EQ(g_crosshairKick, 6);
    EXPECT_FALSE(g_triggerHeld);
}

TEST_F(MouseButtons, MachineGunPressHoldsTheTriggerWithoutFiring) {
    g_weapon = MachineGun;
    g_lastAutoShotTime = 500;
    onMouseButton(kMouseLeft, kPress);
    EXPECT_TRUE(g_triggerHeld);
    EXPECT_EQ(g_lastAutoShotTime, 0);
    EXPECT_FALSE(g_justFired);
    EXPECT_EQ(g_crosshairKick, 0);

    g_lastAutoShotTime = 700;
    onMouseButton(kMouseLeft, kPress);  // already held
    EXPECT_TRUE(g_triggerHeld);
    EXPECT_EQ(g_lastAutoShotTime, 700);

    onMouseButton(kMouseLeft, kRelease);
    EXPECT_FALSE(g_triggerHeld);
    EXPECT_EQ(g_lastAutoShotTime, 700);
}

TEST_F(MouseButtons, LeftReleaseClearsTheTriggerWhateverTheWeapon) {
    g_weapon = MachineGun;
    onMouseButton(kMouseLeft, kPress);
    press('E');  // switching leaves the trigger held
    EXPECT_EQ(g_weapon, Pistol);
    EXPECT_TRUE(g_triggerHeld);
    onMouseButton(kMouseLeft, kRelease);
    EXPECT_FALSE(g_triggerHeld);
}

TEST_F(MouseButtons, OtherButtonsDoNothing) {
    onMouseButton(2, kPress);
    onMouseButton(7, kPress);
    onMouseButton(-1, kPress);
    EXPECT_EQ(g_zoom, 1.0);
    EXPECT_FALSE(g_justFired);
    EXPECT_EQ(g_crosshairKick, 0);
}

namespace {

struct SwitchRow {
    int weapon;
    bool shotgun;
    bool machineGun;
    Weapon next;
    const char* notice;
};

// Current weapon and unlocks -> the weapon after E and the name shown.
const SwitchRow kSwitchRows[] = {
    {Pistol, true, false, Shotgun, "SHOTGUN"},
    {Pistol, true, true, Shotgun, "SHOTGUN"},
    {Pistol, false, false, Pistol, "PISTOL"},
    {Pistol, false, true, Pistol, "PISTOL"},  // never straight to the machine gun
    {Shotgun, true, true, MachineGun, "MACHINE GUN"},
    {Shotgun, true, false, Pistol, "PISTOL"},
    {MachineGun, true, true, Pistol, "PISTOL"},
    {3, true, true, Pistol, "PISTOL"},
    {-1, true, true, Pistol, "PISTOL"},
};

}  // namespace

TEST_F(WeaponSwitch, EachRowOfTheTable) {
    int now = 10;
    for (const SwitchRow& row : kSwitchRows) {
        g_weapon = static_cast<Weapon>(row.weapon);
        g_shotgunUnlocked = row.shotgun;
        g_machineGunUnlocked = row.machineGun;
        g_noticeText = "OLD";
        g_fakeClockMs = ++now;
        press('E');
        SCOPED_TRACE(testing::Message() << "weapon " << row.weapon << " shotgun " << row.shotgun
                                        << " machine gun " << row.machineGun);
        EXPECT_EQ(g_weapon, row.next);
        EXPECT_EQ(g_noticeText, row.notice);
        EXPECT_EQ(g_noticeTime, now);
        EXPECT_TRUE(g_shotgunUnlocked == row.shotgun && g_machineGunUnlocked == row.machineGun);
    }
}

TEST_F(WeaponSwitch, CyclesThroughEverythingUnlockedAndReleaseDoesNothing) {
    g_shotgunUnlocked = true;
    g_machineGunUnlocked = true;
    const Weapon expected[] = {Shotgun, MachineGun, Pistol, Shotgun};
    for (Weapon next : expected) {
        press('E');
        EXPECT_EQ(g_weapon, next);
        g_noticeText.clear();
        release('E');
        EXPECT_EQ(g_weapon, next);
        EXPECT_TRUE(g_noticeText.empty());
    }
}

TEST_F(WeaponSwitch, NothingUnlockedShowsPistolEveryTime) {
    for (int n = 0; n < 3; ++n) {
        g_noticeText.clear();
        press('E');
        EXPECT_EQ(g_weapon, Pistol);
        EXPECT_EQ(g_noticeText, "PISTOL");
    }
}

TEST_F(GameKeys, PStartsAGameAndQEndsIt) {
    press('P');
    EXPECT_TRUE(g_inGame);
    EXPECT_EQ(g_objects.size(), 136u);
    EXPECT_EQ(g_targetsLeft, 130);

    g_score = 12;
    press('P');  // ignored mid-game
    EXPECT_EQ(g_score, 12);
    EXPECT_EQ(g_objects.size(), 136u);

    g_zoom = 1.5;
    press('Q');
    EXPECT_FALSE(g_inGame);
    EXPECT_TRUE(g_objects.empty());
    EXPECT_EQ(g_highScore, 12);
    EXPECT_EQ(g_zoom, 1.0);
}

TEST_F(GameKeys, ReleasesOfGameKeysDoNothing) {
    release('P');
    EXPECT_FALSE(g_inGame);
    press('P');
    release('Q');
    EXPECT_TRUE(g_inGame);
    release(kKeyEscape);
    EXPECT_FALSE(g_quitRequested);
}

TEST_F(GameKeys, EscapeOnlyAsksTheLoopToQuit) {
    press('P');
    press(kKeyEscape);
    EXPECT_TRUE(g_quitRequested);
    EXPECT_TRUE(g_inGame);  // nothing is torn down inside the callback
    EXPECT_EQ(g_objects.size(), 136u);
}

TEST_F(GameKeys, OtherCodesDoNothing) {
    // Lower case, digits, other letters, the adapter's code for unhandled keys, and GLFW 3's
    // own Escape code, which only the adapter may turn into 257.
    const int codes[] = {'a', 'd', 'w', 's', 'e', 'p', 'q', '0',
                         '9', 'Z', 'F', ' ', -1,  0,   256, GLFW_KEY_ESCAPE,
                         258, 1000};
    g_moveDir = {0.6f, 0, -0.8f};
    g_shotgunUnlocked = true;
    for (int code : codes) {
        press(code);
        release(code);
    }
    EXPECT_TRUE(sameBits(g_moveDir, Vec3{0.6f, 0, -0.8f}));
    EXPECT_EQ(g_weapon, Pistol);
    EXPECT_TRUE(g_noticeText.empty());
    EXPECT_FALSE(g_inGame);
    EXPECT_TRUE(g_objects.empty());
    EXPECT_FALSE(g_quitRequested);
    EXPECT_EQ(g_zoom, 1.0);
}
