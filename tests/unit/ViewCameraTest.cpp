// The camera rules tick by tick, with the figures the view is built to: a
// 100-pixel drag at the start values, the zoom steps and limits, the opening
// animation, and the lock-drag spin.
#include <gtest/gtest.h>

#include "platform/registry/Utf16.h"
#include "support/TestRegistry.h"
#include "view/ViewCamera.h"

namespace {

struct CountingTimer : AnimationTimer {
    int starts = 0, stops = 0;
    void StartAnimationTimer() override { ++starts; }
    void StopAnimationTimer() override { ++stops; }
};

// Ticks until the camera stops; the number of ticks it took.
int TicksUntilArrival(ViewCamera& camera, int limit = 1000) {
    for (int n = 1; n <= limit; ++n) {
        camera.Tick();
        if (!camera.Running()) return n;
    }
    return -1;
}

}  // namespace

TEST(ViewCamera, DragOfAHundredPixelsArrivesAfterFortyEightTicks) {
    CountingTimer timer;
    ViewCamera camera(timer);
    camera.OnLButtonDown(kLeftButton, {200, 100});
    EXPECT_EQ(timer.starts, 1);
    EXPECT_EQ(camera.OnMouseMove(kLeftButton, {300, 100}), DragCursor::AllDirections);
    EXPECT_EQ(timer.starts, 1) << "a running timer is not set again";
    EXPECT_NEAR(camera.m_targetYaw, 21.708, 0.0005);
    EXPECT_EQ(camera.m_targetPitch, 0);
    EXPECT_EQ(TicksUntilArrival(camera), 48);
    EXPECT_EQ(timer.stops, 1);
    EXPECT_NE(camera.m_yaw, camera.m_targetYaw) << "not snapped onto the target";
    EXPECT_LT(std::abs(camera.m_yaw - camera.m_targetYaw), kArrivalTolerance);
}

TEST(ViewCamera, DragIsMeasuredFromThePressAndPitchIsLimited) {
    CountingTimer timer;
    ViewCamera camera(timer);
    camera.OnLButtonDown(kLeftButton, {0, 0});
    camera.OnMouseMove(kLeftButton, {0, 1000});
    EXPECT_EQ(camera.m_targetPitch, 60);
    camera.OnMouseMove(kLeftButton, {0, -1000});
    EXPECT_EQ(camera.m_targetPitch, -60);
    camera.OnMouseMove(kLeftButton, {50, 0});
    camera.OnMouseMove(kLeftButton, {50, 0});
    EXPECT_NEAR(camera.m_targetYaw, 10.854, 0.0005) << "the same point twice is the same target";
    EXPECT_EQ(camera.OnMouseMove(0, {500, 500}), DragCursor::Unchanged) << "moves without the button do nothing";
    EXPECT_NEAR(camera.m_targetYaw, 10.854, 0.0005);
    EXPECT_EQ(camera.OnLButtonDown(0, {1, 1}), DragCursor::Unchanged);
}

TEST(ViewCamera, ZoomStepsAndLimits) {
    struct Case {
        const char* what;
        void (*act)(ViewCamera&);
        double expected;
    };
    const Case cases[] = {
        {"wheel away", [](ViewCamera& c) { c.OnMouseWheel(120); }, 26.4},
        {"wheel towards", [](ViewCamera& c) { c.OnMouseWheel(-120); }, 33.6},
        {"plus key", [](ViewCamera& c) { c.OnZoomKey(true); }, 29.1},
        {"minus key", [](ViewCamera& c) { c.OnZoomKey(false); }, 30.9},
        {"many notches in", [](ViewCamera& c) { for (int i = 0; i < 100; ++i) c.OnMouseWheel(120); }, 5},
        {"many notches out", [](ViewCamera& c) { for (int i = 0; i < 100; ++i) c.OnMouseWheel(-120); }, 60},
        {"many plus keys", [](ViewCamera& c) { for (int i = 0; i < 500; ++i) c.OnZoomKey(true); }, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CountingTimer timer;
        ViewCamera camera(timer);
        c.act(camera);
        EXPECT_NEAR(camera.m_targetHalfFov, c.expected, 1e-9);
        EXPECT_TRUE(camera.Running());
        EXPECT_EQ(timer.starts, 1);
    }
}

TEST(ViewCamera, OpeningAnimationArrivesAfterFiftyTwoTicksKeepingThePitch) {
    CountingTimer timer;
    ViewCamera camera(timer);
    camera.m_pitch = camera.m_targetPitch = 12;
    camera.StartOpeningAnimation();
    EXPECT_EQ(camera.m_yaw, -45);
    EXPECT_EQ(camera.m_pressYaw, -45);
    EXPECT_EQ(camera.m_halfFov, 20);
    camera.StartOpeningAnimation();
    EXPECT_EQ(timer.starts, 2) << "set again even while it runs";
    EXPECT_EQ(TicksUntilArrival(camera), 52);
    EXPECT_EQ(camera.m_pitch, 12);
}

TEST(ViewCamera, LockDragSpinsUntilAPlainClick) {
    CountingTimer timer;
    ViewCamera camera(timer);
    EXPECT_EQ(camera.OnLButtonDown(kLeftButton | kControlKey, {100, 100}), DragCursor::Horizontal);
    camera.OnMouseMove(kLeftButton | kControlKey, {200, 130});
    const double pitchTarget = camera.m_targetPitch;
    EXPECT_GT(pitchTarget, 0);
    double previous = camera.m_yaw, speed = 0;
    for (int i = 0; i < 400; ++i) {
        camera.Tick();
        speed = camera.m_yaw - previous;
        previous = camera.m_yaw;
        ASSERT_TRUE(camera.Running()) << "no arrival while spinning";
    }
    EXPECT_NEAR(speed, 1.13967, 0.00001);
    EXPECT_EQ(camera.m_pitch, 0) << "the pitch holds still while spinning";

    camera.OnLButtonDown(kLeftButton, {0, 0});  // a plain click
    EXPECT_EQ(camera.m_lockVelocity, 0);
    const int ticks = TicksUntilArrival(camera);
    EXPECT_GT(ticks, 0);
    EXPECT_NEAR(camera.m_pitch, pitchTarget, kArrivalTolerance) << "the pitch catches up";
    EXPECT_EQ(timer.stops, 1);
}

TEST(ViewCamera, PressAndReleaseWithoutMovingKeepsTheTargets) {
    CountingTimer timer;
    ViewCamera camera(timer);
    camera.m_targetYaw = 50;
    camera.Tick();
    const double yaw = camera.m_yaw;
    camera.OnLButtonDown(kLeftButton, {10, 10});
    EXPECT_EQ(camera.m_pressYaw, yaw);
    EXPECT_EQ(camera.m_targetYaw, 50);
    EXPECT_GT(TicksUntilArrival(camera), 0);
    EXPECT_NEAR(camera.m_yaw, 50, kArrivalTolerance);
}

TEST(ViewCamera, PreferencesAreReadInOrderAndUsedAsStored) {
    orv::test::TestRegistry registry;
    registry.SetSetting("MouseDrag", orv::reg::kString, orv::reg::Utf8ToUtf16Bytes("0,6", true));
    registry.SetDwordSetting("EnableMipmaps", 0);
    CountingTimer timer;
    ViewCamera camera(timer);
    camera.ReadPreferences();
    EXPECT_FALSE(camera.m_enableMipmaps);
    EXPECT_EQ(camera.m_mouseDrag, 0.6);
    EXPECT_EQ(camera.m_mouseInertia, 0.15);
    EXPECT_EQ(camera.m_mouseLockDrag, 0.35);
    EXPECT_EQ(camera.m_logoSize, 100);
    const std::string hive = registry.UserHiveText();
    const size_t inertia = hive.find("\"MouseInertia\""), lock = hive.find("\"MouseLockDrag\""),
                 logo = hive.find("\"LogoSize\"");
    EXPECT_LT(inertia, lock);
    EXPECT_LT(lock, logo);
    camera.OnMouseWheel(120);
    EXPECT_NEAR(camera.m_targetHalfFov, 30 * (1 - 0.4 * 0.6), 1e-9);
}
