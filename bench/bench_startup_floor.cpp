// The floor of the start-up benchmark: an empty Qt window with an OpenGL
// context, the same JPEG bytes decoded to BGRA with libjpeg-turbo, the same
// six uploads with mipmaps (the default), and one buffer swap. It prints the
// moment of that first frame as the program does with ORVALEN_TRACE.
//   bench_startup_floor FILE          run the floor on FILE
//   bench_startup_floor --make FILE   write the 12288 x 2048 JPEG strip
#include <GL/gl.h>
#include <cstddef>
#include <cstdio>

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QWindow>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "BenchSupport.h"
#include "framework/StartupTrace.h"
#include "platform/image/PixelBuffer.h"

namespace {

constexpr int kW = 12288, kH = 2048;

class FloorWindow : public QWindow {
public:
    std::vector<uint8_t> bytes;
    QOpenGLContext context;
    bool drawn = false;

protected:
    void exposeEvent(QExposeEvent*) override {
        if (!isExposed() || drawn) return;
        drawn = true;
        context.makeCurrent(this);
        glClear(GL_COLOR_BUFFER_BIT);
        context.swapBuffers(this);
        glFinish();
        framework::TracePhase("first-frame");
        QMetaObject::invokeMethod(qApp, "quit", Qt::QueuedConnection);
    }
};

void DecodeAndUpload(const std::vector<uint8_t>& bytes) {
    // The same fast allocation as the program's decoder (huge pages), so the
    // floor is not slowed by page faults the program avoids.
    orv::image::PixelBuffer pixels;
    if (!pixels.Allocate(size_t(kW) * kH * 4)) std::abort();
    orv::bench::FloorDecodeJpeg(bytes.data(), bytes.size(), pixels.get(), size_t(kW) * 4);
    GLuint ids[6];
    orv::bench::FloorUploadFaces(pixels.get(), kW, kH, true, ids);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "--make")) {
        const auto jpeg = orv::bench::EncodeJpeg(orv::bench::MakeStripPixels(kW, kH), kW, kH, 90);
        std::ofstream(argv[2], std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()),
                                                       static_cast<std::streamsize>(jpeg.size()));
        return 0;
    }
    if (argc != 2) return 2;
    QGuiApplication app(argc, argv);
    FloorWindow window;
    QSurfaceFormat format;
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    window.setSurfaceType(QWindow::OpenGLSurface);
    window.setFormat(format);
    window.resize(800, 800);
    window.create();
    window.context.setFormat(window.format());
    if (!window.context.create() || !window.context.makeCurrent(&window)) return 2;
    std::ifstream in(argv[1], std::ios::binary);
    window.bytes.assign(std::istreambuf_iterator<char>(in), {});
    DecodeAndUpload(window.bytes);
    window.show();
    return app.exec();
}
