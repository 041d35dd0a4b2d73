// An OpenGL context (compatibility profile) on an off-screen pbuffer through
// EGL's surfaceless platform: real GL without any window system. The headless
// renderer, the GL tests and the benchmarks draw with it.
#pragma once

#include <string>

namespace orv::gl {

class HeadlessContext {
public:
    HeadlessContext() = default;
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // Makes a context with an RGBA 8/8/8 pbuffer of the given size and a
    // 24-bit depth buffer, and makes it current on this thread. False, with
    // the failed step in *error, when EGL cannot provide it.
    bool Create(int width, int height, std::string* error);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    void* m_display = nullptr;
    void* m_surface = nullptr;
    void* m_context = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace orv::gl
