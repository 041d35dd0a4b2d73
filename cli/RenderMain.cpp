// orvalen-render: one frame of a panorama into a PNG, with no window system.
// The file goes through the program's own extension dispatch and loaders and
// the frame through its frame drawing; the camera is the one given (no
// opening animation). Exit 0 on success, 1 when the panorama cannot be
// loaded (the program's message on standard error), 2 for bad arguments or
// when no GL context can be had.
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <vector>

#include "cli/PngWriter.h"
#include "cli/RenderOptions.h"
#include "document/CMOrvalenDoc.h"
#include "document/PanoramaKind.h"
#include "framework/StartupTrace.h"
#include "framework/UserMessages.h"
#include "platform/gl/HeadlessContext.h"
#include "platform/registry/ReadOnlyRegistry.h"
#include "resources/Strings.h"
#include "view/FrameDrawing.h"

namespace {

// Passes messages on to standard error and remembers that there was one.
class CountingMessages : public StandardErrorMessages {
public:
    void ShowWarning(const std::string& text) override {
        ++count;
        StandardErrorMessages::ShowWarning(text);
    }
    int count = 0;
};

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::fprintf(stderr, "orvalen-render: %s\n%s", error.c_str(), kRenderUsage);
        return 2;
    }
    // A thumbnail writes nothing but its output: no settings written back,
    // and no shader cache of Mesa's in the user's cache folder.
    std::unique_ptr<orv::reg::ReadOnlyRegistry> readOnly;
    std::unique_ptr<orv::reg::ScopedRegistry> readOnlyScope;
    if (options.thumbnail) {
        setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
        setenv("MESA_GLSL_CACHE_DISABLE", "true", 1);
        // Without a cache the software rasteriser compiles its shaders on
        // every run, and for one small frame optimising them costs more than
        // it saves (a third of the drawing time here, the same pixels).
        setenv("GALLIVM_PERF", "nopt", 0);
        readOnly = std::make_unique<orv::reg::ReadOnlyRegistry>(orv::reg::CurrentRegistry());
        readOnlyScope = std::make_unique<orv::reg::ScopedRegistry>(*readOnly);
    }
    CountingMessages messages;
    CMOrvalenDoc doc;
    doc.SetUserMessages(&messages);
    // Faces a little larger than the view's height are enough for a preview.
    if (options.thumbnail) doc.SetFaceSideLimit(static_cast<uint32_t>(options.height));
    // A strip image decodes while the GL context comes up: with a second
    // core, most of the decoding then costs no time at all.
    std::future<std::unique_ptr<orv::image::Image>> strip;
    if (KindOfPath(options.input) == PanoramaKind::Strip) {
        strip = std::async(std::launch::async, [path = options.input, decode = doc.PanoramaDecodeOptions()] {
            return orv::image::Image::FromFile(path, decode);
        });
    }

    orv::gl::HeadlessContext context;
    if (!context.Create(options.width, options.height, &error)) {
        std::fprintf(stderr, "orvalen-render: no OpenGL context: %s\n", error.c_str());
        return 2;
    }
    glDisable(GL_DEPTH_TEST);
    framework::TracePhase("context");

    if (strip.valid()) {
        doc.LoadStripImage(*strip.get(), options.input);
    } else if (!doc.LoadPanorama(options.input)) {
        // An ending that selects no loader: nothing to draw.
        messages.ShowWarning(orv::strings::Format(orv::strings::kPanoramaNotLoaded, options.input));
    }
    if (messages.count > 0) return 1;
    framework::TracePhase("loaded");

    glViewport(0, 0, options.width, options.height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawFrame(&doc, {options.yaw, options.pitch, options.halfFov}, options.width, options.height);
    glFinish();
    framework::TracePhase("drawn");

    // GL's rows run bottom-up; the PNG's top-down.
    const size_t rowBytes = size_t(options.width) * 3;
    std::vector<uint8_t> pixels(rowBytes * options.height), flipped(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, options.width, options.height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    for (int y = 0; y < options.height; ++y) {
        std::copy_n(&pixels[rowBytes * (options.height - 1 - y)], rowBytes, &flipped[rowBytes * y]);
    }
    doc.ReleaseScene();
    if (!WriteRgbPng(options.output, flipped.data(), options.width, options.height, &error)) {
        std::fprintf(stderr, "orvalen-render: %s\n", error.c_str());
        return 1;
    }
    framework::TracePhase("written");
    return 0;
}
