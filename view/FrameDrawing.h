// Drawing one frame of the panorama view, free of any window system: the
// cube seen from its centre with the camera's yaw, pitch and half-angle of
// view, then the overlay laid over the window. The window and the headless
// renderer both draw with this; each swaps its own buffers afterwards.
#pragma once

class CMOrvalenDoc;

struct FrameCamera {
    double yaw = 0;      // degrees about the vertical axis
    double pitch = 0;    // degrees about the horizontal axis
    double halfFov = 30; // degrees from the line of sight to the top edge
};

// Where the overlay quad lands, in pixels and in the transform applied to it.
struct OverlayPlacement {
    double width = 0, height = 0;     // pixels
    double centerX = 0, centerY = 0;  // pixels, y down from the top edge
    double translateX = 0, translateY = 0;
    double scaleX = 0, scaleY = 0;
};

constexpr double kNearPlane = 0.1;
constexpr double kFarPlane = 2.0;
constexpr double kPitchLimit = 60.0;

// The pitch as drawn: limited to +-60 degrees.
double DrawnPitch(double pitch);
// The yaw as drawn: reduced by whole turns into (0, 360] from above and
// [0, 360) from below; a yaw that is not finite is drawn as 0.
double DrawnYaw(double yaw);

OverlayPlacement PlaceOverlay(const CMOrvalenDoc& doc, double width, double height);

// Draws the frame into the current context's back buffer with a viewport the
// caller has set to width x height. A document of null draws nothing. A
// client area without width or height draws nothing either: the projection
// would divide by zero.
void DrawFrame(const CMOrvalenDoc* doc, const FrameCamera& camera, int width, int height);
