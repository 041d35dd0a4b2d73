#include "CMSplashWnd.h"

#include <QResource>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/image/Image.h"

// Xlib last: its macros (Status, Bool, None) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Status  // Xlib's macro; ours is orv::image::Status

void SplashPosition(int screenWidth, int screenHeight, int imageWidth, int imageHeight, int* x, int* y) {
    *x = (screenWidth - imageWidth) / 2;
    *y = (screenHeight - imageHeight) / 2;
}

CMSplashWnd::CMSplashWnd(_XDisplay* display, bool loadImage, const std::string& title)
    : m_loadImage(loadImage), m_display(display) {
    if (!m_display) return;
    const int screen = DefaultScreen(m_display);
    if (m_loadImage) LoadStartupImage();
    SplashPosition(DisplayWidth(m_display, screen), DisplayHeight(m_display, screen), m_imageWidth, m_imageHeight,
                   &m_x, &m_y);
    // An undecorated window that the window manager leaves alone; a window of
    // no size cannot be made, and without an image nothing would be seen.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = ExposureMask;
    attributes.background_pixmap = None;
    m_window = XCreateWindow(m_display, RootWindow(m_display, screen), m_x, m_y,
                             static_cast<unsigned>(m_imageWidth > 0 ? m_imageWidth : 1),
                             static_cast<unsigned>(m_imageHeight > 0 ? m_imageHeight : 1), 0, CopyFromParent,
                             InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask | CWBackPixmap,
                             &attributes);
    XStoreName(m_display, m_window, title.c_str());
}

CMSplashWnd::~CMSplashWnd() {
    if (m_bitmap) XDestroyImage(m_bitmap);  // frees the pixels too
    if (m_window) XDestroyWindow(m_display, m_window);
    if (m_display) XFlush(m_display);
}

bool CMSplashWnd::LoadStartupImage() {
    // The resource's bytes are static data of the program: safe to read from
    // this thread.
    const QResource resource(":/GUI/IDR_STARTUP_IMAGE");
    if (!resource.isValid() || resource.size() == 0 || !resource.data()) return false;
    auto image = orv::image::Image::FromMemory(resource.data(), static_cast<size_t>(resource.size()));
    if (image->LastStatus() != orv::image::Status::Ok) return false;
    const int w = static_cast<int>(image->Width()), h = static_cast<int>(image->Height());
    orv::image::LockedBits bits;
    if (image->LockBits({0, 0, w, h}, &bits) != orv::image::Status::Ok) return false;
    // Transparent pixels show opaque black, as on a black background.
    auto* pixels = static_cast<char*>(std::malloc(size_t(w) * h * 4));
    if (!pixels) return false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = bits.scan0 + size_t(y) * bits.stride;
        auto* dst = reinterpret_cast<uint8_t*>(pixels) + size_t(y) * w * 4;
        for (int x = 0; x < w; ++x) {
            const unsigned a = src[x * 4 + 3];
            for (int c = 0; c < 3; ++c) dst[x * 4 + c] = static_cast<uint8_t>(src[x * 4 + c] * a / 255);
            dst[x * 4 + 3] = 255;
        }
    }
    image->UnlockBits(bits);
    const int screen = DefaultScreen(m_display);
    m_bitmap = XCreateImage(m_display, DefaultVisual(m_display, screen), static_cast<unsigned>(DefaultDepth(m_display, screen)),
                            ZPixmap, 0, pixels, static_cast<unsigned>(w), static_cast<unsigned>(h), 32, w * 4);
    if (!m_bitmap) {
        std::free(pixels);
        return false;
    }
    m_bitmap->byte_order = LSBFirst;  // our pixels are B, G, R, A in memory
    m_imageWidth = w;
    m_imageHeight = h;
    return true;
}

void CMSplashWnd::Show() {
    if (!m_window || !m_bitmap) return;  // nothing to be seen
    XMapRaised(m_display, m_window);
    XFlush(m_display);
}

void CMSplashWnd::Hide() {
    if (!m_window) return;
    XUnmapWindow(m_display, m_window);
    XFlush(m_display);
}

void CMSplashWnd::Paint() {
    if (!m_bitmap || !m_window) return;
    GC gc = XCreateGC(m_display, m_window, 0, nullptr);
    XWindowAttributes a;
    XGetWindowAttributes(m_display, m_window, &a);
    const int left = std::max(0, (a.width - m_imageWidth) / 2), top = std::max(0, (a.height - m_imageHeight) / 2);
    XPutImage(m_display, m_window, gc, m_bitmap, 0, 0, left, top, static_cast<unsigned>(m_imageWidth),
              static_cast<unsigned>(m_imageHeight));
    XFreeGC(m_display, gc);
    XFlush(m_display);
}
