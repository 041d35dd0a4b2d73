// One frame at 1920 x 1080 through the view's frame drawing, against a bare
// loop drawing the same six textured quads with the same textures and the
// same projection, in the same run on a headless Mesa context.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "BenchSupport.h"
#include "HeadlessBench.h"
#include "document/CMOrvalenDoc.h"
#include "platform/gl/HeadlessContext.h"
#include "TempRegistry.h"
#include "view/FrameDrawing.h"

using namespace orv::bench;

namespace {

constexpr int kW = 1920, kH = 1080, kFrames = 60, kRounds = 5;

// The cube's six quads, drawn directly each frame.
void BareFrame(const GLuint faces[6], const FrameCamera& c) {
    const double t = 0.1 * std::tan(c.halfFov * M_PI / 180.0), a = double(kH) / kW;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-t / a, t / a, -t, t, 0.1, 2.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(c.pitch, 1, 0, 0);
    glRotated(c.yaw, 0, 1, 0);
    static const float quads[6][4][5] = {
        {{1, 0, 1, 1, 1}, {1, 1, 1, -1, 1}, {0, 1, 1, -1, -1}, {0, 0, 1, 1, -1}},
        {{1, 0, 1, 1, -1}, {1, 1, 1, -1, -1}, {0, 1, -1, -1, -1}, {0, 0, -1, 1, -1}},
        {{1, 0, -1, 1, -1}, {1, 1, -1, -1, -1}, {0, 1, -1, -1, 1}, {0, 0, -1, 1, 1}},
        {{1, 0, -1, 1, 1}, {1, 1, -1, -1, 1}, {0, 1, 1, -1, 1}, {0, 0, 1, 1, 1}},
        {{0, 0, -1, 1, -1}, {1, 0, -1, 1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}},
        {{1, 1, -1, -1, 1}, {0, 1, -1, -1, -1}, {0, 0, 1, -1, -1}, {1, 0, 1, -1, 1}},
    };
    static const int face[6] = {0, 3, 2, 1, 4, 5};
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    for (int q = 0; q < 6; ++q) {
        glBindTexture(GL_TEXTURE_2D, faces[face[q]]);
        glBegin(GL_QUADS);
        for (const auto& v : quads[q]) {
            glTexCoord2f(v[0], v[1]);
            glVertex3f(v[2], v[3], v[4]);
        }
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

int main(int argc, char** argv) {
    orv::gl::HeadlessContext context;
    if (!CreateBenchContext(context, kW, kH)) return 2;
    TempRegistry registry;

    const std::string sample = argc > 1 ? argv[1] : std::string(ORV_SOURCE_DIR) + "/sample/sample.orvp";
    CMOrvalenDoc doc;
    doc.LoadPanorama(sample);
    doc.m_hasOverlay = false;  // the bare loop draws the cube alone
    glViewport(0, 0, kW, kH);
    glDisable(GL_DEPTH_TEST);

    const FrameCamera camera{37, 12, 30};
    const auto [floorAll, oursAll] = AlternatingBestMs(
        kRounds,
        [&] {
            for (int i = 0; i < kFrames; ++i) BareFrame(doc.m_faceTexture, camera);
            glFinish();
        },
        [&] {
            for (int i = 0; i < kFrames; ++i) DrawFrame(&doc, camera, kW, kH);
            glFinish();
        });
    const double floor = floorAll / kFrames, ours = oursAll / kFrames;
    const bool ok = Report("frame 1920x1080, cube only", ours, floor, 1.05);
    doc.ReleaseScene();
    return ok ? 0 : 1;
}
