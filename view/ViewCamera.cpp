#include "ViewCamera.h"

#include <cmath>

#include "settings/CMSettingsStore.h"

ViewCamera::ViewCamera(AnimationTimer& timer) : m_timer(timer) {}

void ViewCamera::ReadPreferences() {
    CMSettingsStore store;
    m_enableMipmaps = store.GetDword("EnableMipmaps", 1) != 0;
    m_mouseDrag = store.GetDouble("MouseDrag", m_mouseDrag);
    m_mouseInertia = store.GetDouble("MouseInertia", m_mouseInertia);
    m_mouseLockDrag = store.GetDouble("MouseLockDrag", m_mouseLockDrag);
    m_logoSize = store.GetDouble("LogoSize", m_logoSize);
}

void ViewCamera::StartTimer() {
    if (!m_timerRunning) m_timer.StartAnimationTimer();
    m_timerRunning = true;
}

DragCursor ViewCamera::OnLButtonDown(unsigned flags, ViewPoint point) {
    if (!(flags & kLeftButton)) return DragCursor::Unchanged;
    // The values as drawn at this moment, even in the middle of a glide.
    m_pressPoint = point;
    m_pressYaw = m_yaw;
    m_pressPitch = m_pitch;
    StartTimer();
    m_lockDrag = (flags & kControlKey) != 0;
    if (!m_lockDrag) {
        m_lockVelocity = 0;
        m_lockStep = 0;
    }
    return m_lockDrag ? DragCursor::Horizontal : DragCursor::AllDirections;
}

DragCursor ViewCamera::OnMouseMove(unsigned flags, ViewPoint point) {
    if (!(flags & kLeftButton)) return DragCursor::Unchanged;
    // A zoomed-in view turns more slowly under the same drag.
    const double s = std::sqrt(m_halfFov * M_PI / 180.0);
    const double dx = point.x - m_pressPoint.x, dy = point.y - m_pressPoint.y;
    const double step = dx * m_mouseDrag * s;
    m_targetYaw = m_pressYaw + step;
    m_targetPitch = dy * m_mouseDrag * s + m_pressPitch;
    if (m_targetPitch > kPitchLimit) m_targetPitch = kPitchLimit;
    else if (m_targetPitch < -kPitchLimit) m_targetPitch = -kPitchLimit;
    if (m_lockDrag) m_lockStep = step;
    StartTimer();
    return m_lockDrag ? DragCursor::Horizontal : DragCursor::AllDirections;
}

void ViewCamera::ScaleTargetHalfFov(double factor) {
    m_targetHalfFov *= factor;
    if (m_targetHalfFov > kMaxHalfFov) m_targetHalfFov = kMaxHalfFov;
    else if (m_targetHalfFov < kMinHalfFov) m_targetHalfFov = kMinHalfFov;
    StartTimer();
}

void ViewCamera::OnMouseWheel(int delta) { ScaleTargetHalfFov(1 - (delta / 300.0) * m_mouseDrag); }

void ViewCamera::OnZoomKey(bool plus) { ScaleTargetHalfFov(1 - m_mouseDrag * (plus ? 0.1 : -0.1)); }

void ViewCamera::StartOpeningAnimation() {
    m_yaw = -45.0;
    m_pressYaw = -45.0;
    m_targetYaw = 0.0;
    m_halfFov = 20.0;
    m_targetHalfFov = 30.0;
    // Set again even when it runs, as the open always does.
    m_timer.StartAnimationTimer();
    m_timerRunning = true;
}

void ViewCamera::Tick() {
    m_timerRunning = true;
    const double k = m_mouseInertia;
    if (!m_lockDrag) {
        m_yaw = m_targetYaw * k + m_yaw * (1 - k);
        m_pitch = m_targetPitch * k + m_pitch * (1 - k);
        m_halfFov = m_targetHalfFov * k + m_halfFov * (1 - k);
        // The values are not snapped onto their targets.
        if (std::fabs(m_yaw - m_targetYaw) < kArrivalTolerance &&
            std::fabs(m_pitch - m_targetPitch) < kArrivalTolerance &&
            std::fabs(m_halfFov - m_targetHalfFov) < kArrivalTolerance) {
            m_timerRunning = false;
            m_timer.StopAnimationTimer();
        }
    } else {
        // The pitch holds still while spinning and catches up afterwards.
        m_halfFov = m_targetHalfFov * k + (1 - k) * m_halfFov;
        m_lockVelocity = m_lockStep * k + m_lockVelocity * (1 - k);
        m_yaw = m_lockVelocity * k * m_mouseLockDrag + m_yaw;
        m_targetYaw = m_mouseLockDrag * m_lockVelocity + m_yaw;
    }
}
