#include "GlSurfaceSetup.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWindow>

const char* const kChooseFormatStep = "ChoosePixelFormat()";
const char* const kCreateNativeWindowStep = "SetPixelFormat()";
const char* const kDescribeFormatStep = "DescribePixelFormat()";
const char* const kCreateContextStep = "wglCreateContext()";
const char* const kMakeCurrentStep = "wglMakeCurrent()";

bool GlSurfaceSetup::ChooseFormat(QWindow& window) {
    if (QOpenGLContext::openGLModuleType() != QOpenGLContext::LibGL) return false;
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(0);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    window.setSurfaceType(QWindow::OpenGLSurface);
    window.setFormat(format);
    return true;
}

bool GlSurfaceSetup::CreateNativeWindow(QWindow& window) {
    window.create();
    return window.handle() != nullptr;
}

bool GlSurfaceSetup::DescribeFormat(QWindow& window) {
    const QSurfaceFormat actual = window.format();
    return window.supportsOpenGL() && actual.renderableType() != QSurfaceFormat::OpenGLES;
}

bool GlSurfaceSetup::CreateContext(QOpenGLContext& context, QWindow& window) {
    context.setFormat(window.format());
    return context.create();
}

bool GlSurfaceSetup::MakeCurrent(QOpenGLContext& context, QWindow& window) {
    return context.makeCurrent(&window);
}
