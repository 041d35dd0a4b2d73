// The panorama document: the open panorama as OpenGL objects in the view's
// rendering context (six face textures, the cube display list, and an
// optional overlay with its texture, display list and placement). Every open
// replaces the scene; nothing is ever written back to a file.
#pragma once

#include <GL/gl.h>

#include <cstdint>

class CMOrvalenDoc {
public:
    CMOrvalenDoc() = default;
    CMOrvalenDoc(const CMOrvalenDoc&) = delete;
    CMOrvalenDoc& operator=(const CMOrvalenDoc&) = delete;

    // Deletes the scene's lists and textures and sets their ids to 0. The
    // overlay flag and placement stay as they are.
    void ReleaseScene();

    GLuint m_cubeList = 0;
    GLuint m_faceTexture[6] = {0, 0, 0, 0, 0, 0};
    GLuint m_overlayList = 0;
    GLuint m_overlayTexture = 0;
    double m_overlayPosX = 0.0;         // percent
    double m_overlayPosY = 0.0;         // percent
    double m_overlaySize = 0.0;         // percent of a fifth of the view's area
    double m_overlayImageWidth = 0.0;   // pixels
    double m_overlayImageHeight = 0.0;  // pixels
    int32_t m_overlayAnchor = 0;        // 0 by percent, 1 to 4 the corners
    double m_overlayOpacity = 0.0;      // percent
    bool m_hasOverlay = false;
};
