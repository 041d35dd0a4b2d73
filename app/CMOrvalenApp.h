// The application object: start-up in its fixed order (platform services,
// the splash, the document manager, the profile, the recent-file list, the
// document template, the shell registration, the command line), then the
// splash closed and the main window shown; shutdown at the end.
#pragma once

#include <memory>

#include "app/PlatformStartup.h"
#include "framework/Application.h"

class CMSplashScreen;

class CMOrvalenApp : public framework::Application {
public:
    CMOrvalenApp(int& argc, char** argv, std::unique_ptr<PlatformStartup> platform = nullptr);
    ~CMOrvalenApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    void OnAppAbout() override;

    // Where failures of start-up and loading are shown; message boxes unless
    // a test sets another.
    void SetUserMessages(UserMessages* messages) { m_userMessages = messages; }

private:
    std::unique_ptr<framework::DocTemplate> MakeTemplate();
    UserMessages& Messages();

    std::unique_ptr<PlatformStartup> m_platform;
    bool m_imageLibraryStarted = false;
    UserMessages* m_userMessages = nullptr;
};
