// The camera of the panorama view and its rules, free of any window system:
// input sets targets, and each 20 ms tick eases the drawn yaw, pitch and
// half-angle of view towards them until all three have arrived. A drag begun
// with Ctrl held is a lock drag: the camera keeps spinning after the button
// is released, until a plain press ends it. Tests drive it tick by tick.
#pragma once

#include "view/FrameDrawing.h"

// Mouse key flags as the view receives them.
enum MouseKeyFlags : unsigned {
    kLeftButton = 0x0001,
    kControlKey = 0x0008,
};

struct ViewPoint {
    int x = 0, y = 0;
};

// The cursor a press or drag asks for.
enum class DragCursor { Unchanged, Horizontal, AllDirections };

// Starts and stops the view's 20 ms animation timer. Starting a timer that
// runs restarts its period, as setting a window timer again does.
class AnimationTimer {
public:
    virtual ~AnimationTimer() = default;
    virtual void StartAnimationTimer() = 0;
    virtual void StopAnimationTimer() = 0;
};

class ViewCamera {
public:
    explicit ViewCamera(AnimationTimer& timer);

    // The five preferences of the view, read through the settings store in
    // this order: EnableMipmaps, MouseDrag, MouseInertia, MouseLockDrag,
    // LogoSize. Values are used as they are stored.
    void ReadPreferences();

    DragCursor OnLButtonDown(unsigned flags, ViewPoint point);
    DragCursor OnMouseMove(unsigned flags, ViewPoint point);
    void OnMouseWheel(int delta);         // 120 per notch, positive away from the user
    void OnZoomKey(bool plus);            // plus or minus, main keyboard or keypad
    void StartOpeningAnimation();         // after every open: swing in from the left
    void Tick();                          // one period of the animation timer

    FrameCamera Frame() const { return {m_yaw, m_pitch, m_halfFov}; }
    bool Running() const { return m_timerRunning; }

    double m_yaw = 0;
    double m_pitch = 0;
    double m_targetYaw = 0;
    double m_targetPitch = 0;
    double m_pressYaw = 0;
    double m_pressPitch = 0;
    double m_halfFov = 30;
    double m_targetHalfFov = 30;
    double m_lockVelocity = 0;
    double m_lockStep = 0;
    ViewPoint m_pressPoint;
    bool m_timerRunning = false;
    bool m_lockDrag = false;
    bool m_enableMipmaps = true;
    double m_mouseDrag = 0.3;
    double m_mouseInertia = 0.15;
    double m_mouseLockDrag = 0.35;
    double m_logoSize = 100;

private:
    void StartTimer();
    void ScaleTargetHalfFov(double factor);

    AnimationTimer& m_timer;
};

constexpr double kArrivalTolerance = 0.01;
constexpr double kMinHalfFov = 5.0;
constexpr double kMaxHalfFov = 60.0;
