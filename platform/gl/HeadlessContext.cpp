#include "HeadlessContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>

namespace orv::gl {
namespace {

EGLDisplay SurfacelessDisplay() {
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!extensions || !std::strstr(extensions, "EGL_MESA_platform_surfaceless")) return EGL_NO_DISPLAY;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

HeadlessContext::~HeadlessContext() {
    if (!m_display) return;
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_context) eglDestroyContext(m_display, m_context);
    if (m_surface) eglDestroySurface(m_display, m_surface);
    eglTerminate(m_display);
}

bool HeadlessContext::Create(int width, int height, std::string* error) {
    auto fail = [&](const char* step) {
        *error = std::string(step) + " failed";
        return false;
    };
    EGLDisplay display = SurfacelessDisplay();
    if (display == EGL_NO_DISPLAY) return fail("eglGetPlatformDisplayEXT(surfaceless)");
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) return fail("eglInitialize");
    m_display = display;

    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 24, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1)
        return fail("eglChooseConfig");
    if (!eglBindAPI(EGL_OPENGL_API)) return fail("eglBindAPI(OpenGL)");
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    m_context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (!m_context) return fail("eglCreateContext");
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    m_surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (!m_surface) return fail("eglCreatePbufferSurface");
    if (!eglMakeCurrent(display, m_surface, m_surface, m_context)) return fail("eglMakeCurrent");
    m_width = width;
    m_height = height;
    return true;
}

}  // namespace orv::gl
