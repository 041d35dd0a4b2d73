// The splash window: the start-up image in an undecorated window centred on
// the screen, drawn with Xlib on a connection of the splash thread's own.
#pragma once

#include <memory>
#include <string>

// Xlib's types, without its macros, which clash with Qt's headers.
struct _XDisplay;
struct _XImage;

class CMSplashWnd {
public:
    // Loads the image (when loadImage), computes size and position, and
    // creates the window, hidden. Without a display the window is not made.
    CMSplashWnd(_XDisplay* display, bool loadImage, const std::string& title);
    ~CMSplashWnd();
    CMSplashWnd(const CMSplashWnd&) = delete;
    CMSplashWnd& operator=(const CMSplashWnd&) = delete;

    bool Exists() const { return m_window != 0; }
    void Show();
    void Hide();
    void Paint();
    unsigned long Handle() const { return m_window; }

    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_x = 0;
    int m_y = 0;
    bool m_loadImage = false;

private:
    bool LoadStartupImage();

    _XDisplay* m_display;
    unsigned long m_window = 0;  // an X window id
    _XImage* m_bitmap = nullptr;
};

// The splash position on a screen of the given size: centred, truncated
// toward zero, negative on a screen smaller than the image.
void SplashPosition(int screenWidth, int screenHeight, int imageWidth, int imageHeight, int* x, int* y);
