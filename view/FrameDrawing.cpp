#include "FrameDrawing.h"

#include <GL/gl.h>

#include <cmath>

#include "document/CMOrvalenDoc.h"

namespace {

constexpr double kTurn = 360.0;
constexpr double kOverlayAreaFactor = 0.2;
constexpr double kOverlayDepthScale = 0.1;

}  // namespace

double DrawnPitch(double pitch) {
    if (pitch > kPitchLimit) return kPitchLimit;
    if (pitch < -kPitchLimit) return -kPitchLimit;
    return pitch;
}

double DrawnYaw(double yaw) {
    if (!std::isfinite(yaw)) return 0;
    // The same result as subtracting or adding whole turns one at a time, but
    // in one step: a huge yaw would otherwise take forever.
    if (yaw > kTurn) {
        yaw = std::fmod(yaw, kTurn);
        if (yaw == 0) yaw = kTurn;
    } else if (yaw < 0) {
        yaw = std::fmod(yaw, kTurn);
        if (yaw < 0) yaw += kTurn;
    }
    return yaw;
}

OverlayPlacement PlaceOverlay(const CMOrvalenDoc& doc, double W, double H) {
    OverlayPlacement p;
    const double area = H * W * (doc.m_overlaySize / 100.0) * kOverlayAreaFactor;
    const double ratio = doc.m_overlayImageWidth / doc.m_overlayImageHeight;
    p.width = std::sqrt(area * ratio);
    p.height = std::sqrt(area / ratio);
    p.centerX = (W - p.width) * (doc.m_overlayPosX / 100.0) + p.width / 2;
    p.centerY = (H - p.height) * (doc.m_overlayPosY / 100.0) + p.height / 2;
    if (doc.m_overlayAnchor != 0) {
        const double margin = (doc.m_overlayPosX / 100.0) * 0.5 * (ratio > 1 ? p.width : p.height);
        const double dx = margin + p.width / 2, dy = margin + p.height / 2;
        switch (doc.m_overlayAnchor) {
            case 1: p.centerX = dx; p.centerY = dy; break;
            case 2: p.centerX = dx; p.centerY = H - dy; break;
            case 3: p.centerX = W - dx; p.centerY = dy; break;
            case 4: p.centerX = W - dx; p.centerY = H - dy; break;
            default: break;  // placed by percent
        }
    }
    p.translateX = 2 * p.centerX / W - 1;
    p.translateY = -(2 * p.centerY / H - 1);
    p.scaleX = p.width / W;
    p.scaleY = p.height / H;
    return p;
}

void DrawFrame(const CMOrvalenDoc* doc, const FrameCamera& camera, int width, int height) {
    if (!doc || width <= 0 || height <= 0) return;
    const double W = width, H = height;

    const double t = kNearPlane * std::tan(camera.halfFov * M_PI / 180.0);
    const double a = H / W;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-t / a, t / a, -t, t, kNearPlane, kFarPlane);

    // Yaw first, then pitch, as a vertex sees it: the horizon stays level
    // whatever the yaw.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(DrawnPitch(camera.pitch), 1, 0, 0);
    glRotated(DrawnYaw(camera.yaw), 0, 1, 0);
    glCallList(doc->m_cubeList);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    if (doc->m_hasOverlay) {
        const OverlayPlacement p = PlaceOverlay(*doc, W, H);
        glTranslated(p.translateX, p.translateY, 0);
        glScaled(p.scaleX, p.scaleY, kOverlayDepthScale);
        glCallList(doc->m_overlayList);
    }
}
