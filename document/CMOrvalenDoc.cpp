#include "CMOrvalenDoc.h"

void CMOrvalenDoc::ReleaseScene() {
    if (m_cubeList != 0) {
        glDeleteLists(m_cubeList, 1);
        m_cubeList = 0;
    }
    for (GLuint& texture : m_faceTexture) {
        if (texture != 0) {
            glDeleteTextures(1, &texture);
            texture = 0;
        }
    }
    if (m_overlayList != 0) {
        glDeleteLists(m_overlayList, 1);
        m_overlayList = 0;
    }
    if (m_overlayTexture != 0) {
        glDeleteTextures(1, &m_overlayTexture);
        m_overlayTexture = 0;
    }
}
