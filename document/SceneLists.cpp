#include "SceneLists.h"

namespace {

struct Corner {
    GLfloat s, t, x, y, z;
};

// Face index and corners of each quad, in the order they are emitted. t = 0
// is the top row of a face's square and s = 0 its left column, so that every
// face is seen upright and unmirrored from the centre.
struct Quad {
    int face;
    Corner corners[4];
};

constexpr Quad kCube[6] = {
    {0, {{1, 0, 1, 1, 1}, {1, 1, 1, -1, 1}, {0, 1, 1, -1, -1}, {0, 0, 1, 1, -1}}},
    {3, {{1, 0, 1, 1, -1}, {1, 1, 1, -1, -1}, {0, 1, -1, -1, -1}, {0, 0, -1, 1, -1}}},
    {2, {{1, 0, -1, 1, -1}, {1, 1, -1, -1, -1}, {0, 1, -1, -1, 1}, {0, 0, -1, 1, 1}}},
    {1, {{1, 0, -1, 1, 1}, {1, 1, -1, -1, 1}, {0, 1, 1, -1, 1}, {0, 0, 1, 1, 1}}},
    {4, {{0, 0, -1, 1, -1}, {1, 0, -1, 1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}}},
    {5, {{1, 1, -1, -1, 1}, {0, 1, -1, -1, -1}, {0, 0, 1, -1, -1}, {1, 0, 1, -1, 1}}},
};

constexpr Corner kOverlayQuad[4] = {{1, 0, 1, 1, 0}, {0, 0, -1, 1, 0}, {0, 1, -1, -1, 0}, {1, 1, 1, -1, 0}};

void EmitQuad(const Corner (&corners)[4]) {
    glBegin(GL_QUADS);
    for (const Corner& c : corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

}  // namespace

GLuint CompileCubeList(const GLuint faceTexture[6]) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    for (const Quad& quad : kCube) {
        glBindTexture(GL_TEXTURE_2D, faceTexture[quad.face]);
        EmitQuad(quad.corners);
    }
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEndList();
    return list;
}

GLuint CompileOverlayList(GLuint texture, double alpha) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4d(1.0, 1.0, 1.0, alpha);
    EmitQuad(kOverlayQuad);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEndList();
    return list;
}
