#include "CMSplashScreen.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "splash/CMSplashWnd.h"

#include <X11/Xlib.h>

// What the controller and the thread share: the wake-up pipe through which
// the controller tells the thread to end. Each side holds it, so it lives
// until both are done, and a close after the thread has ended writes into a
// pipe that still exists.
struct SplashShared {
    int pipe[2] = {-1, -1};
    std::atomic<bool> shown{false};
    ~SplashShared() {
        for (int fd : pipe) {
            if (fd >= 0) close(fd);
        }
    }
};

// The splash thread: its own display connection, the window, and a loop that
// paints on expose and ends on the controller's message.
class CMSplashThread {
public:
    static void Run(std::shared_ptr<SplashShared> shared, std::string title);
};

void CMSplashThread::Run(std::shared_ptr<SplashShared> shared, std::string title) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    {
        CMSplashWnd window(display, true, title);
        window.Show();
        shared->shown = window.Exists();
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {shared->pipe[0], POLLIN, 0}};
        bool running = true;
        while (running) {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type == Expose && event.xexpose.count == 0) window.Paint();
            }
            if (poll(fds, 2, -1) < 0) continue;
            if (fds[1].revents) running = false;
        }
        window.Hide();
    }
    XCloseDisplay(display);
}

CMSplashScreen::CMSplashScreen(const std::string& title) : m_shared(std::make_shared<SplashShared>()) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || ::pipe(m_shared->pipe) != 0) return;
    try {
        // The thread ends on its own after Close; nobody joins it.
        std::thread(CMSplashThread::Run, m_shared, title).detach();
    } catch (...) {
        // No thread, no splash: start-up goes on.
    }
}

CMSplashScreen::~CMSplashScreen() { Close(); }

void CMSplashScreen::Close() {
    if (m_closed) return;
    m_closed = true;
    if (m_shared->pipe[1] >= 0) {
        const char quit = 'q';
        (void)!write(m_shared->pipe[1], &quit, 1);
    }
}

bool CMSplashScreen::WindowShown() const { return m_shared->shown; }
