// The splash: the start-up image on a thread of its own, so that it is
// painted while the main thread starts the program. The controller starts
// the thread and returns at once; destroying it closes the splash without
// waiting, and is safe when the thread has already ended. Without an X
// display there is no splash, silently.
#pragma once

#include <memory>
#include <string>

struct SplashShared;

class CMSplashScreen {
public:
    explicit CMSplashScreen(const std::string& title);
    ~CMSplashScreen();
    CMSplashScreen(const CMSplashScreen&) = delete;
    CMSplashScreen& operator=(const CMSplashScreen&) = delete;

    // Hides the window and ends the thread; at most once, never waiting.
    void Close();
    // For tests: whether the splash thread has shown its window.
    bool WindowShown() const;

private:
    std::shared_ptr<SplashShared> m_shared;
    bool m_closed = false;
};
