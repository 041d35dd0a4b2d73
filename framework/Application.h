// The application shell on Qt: the event loop, the document manager, the
// profile key, message boxes, and the start-up and shutdown steps that a
// program's application object overrides (InitInstance, ExitInstance).
#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "framework/CommandLine.h"
#include "framework/DocManager.h"
#include "framework/MessageBoxMessages.h"

namespace framework {

class Application {
public:
    Application(int& argc, char** argv);
    virtual ~Application();

    // Runs InitInstance, the event loop when it succeeded, and ExitInstance
    // in every case; the process's exit code.
    int Run();

    virtual bool InitInstance() = 0;
    virtual int ExitInstance();

    // The application's name: the executable's file name without extension.
    const std::string& AppName() const { return m_appName; }
    const std::vector<std::string>& Arguments() const { return m_arguments; }
    QApplication& Qt() { return *m_qt; }

    // Moves the profile to HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(const std::string& key);
    const std::string& ProfileKey() const { return m_profileKey; }
    // Creates and loads the recent-file list with that many entries.
    void LoadStdProfileSettings(size_t recentFiles);

    void SetDocManager(std::unique_ptr<DocManager> manager);
    DocManager* GetDocManager() const { return m_docManager.get(); }
    void AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate);
    void RegisterShellFileTypes(bool compatibility);

    // Carries out a parsed command line. False when processing failed.
    bool ProcessShellCommand(const CommandLineInfo& info);
    // A modal warning with the application's name as caption.
    void MessageBox(const std::string& text);
    MessageBoxMessages& Messages() { return m_messages; }

    // The commands the frame sends; the program's application may add its own.
    virtual void OnCommand(int id);
    virtual void OnAppAbout() {}

private:
    std::unique_ptr<QApplication> m_qt;
    std::vector<std::string> m_arguments;
    std::string m_appName;
    std::string m_profileKey;
    MessageBoxMessages m_messages;
    std::unique_ptr<DocManager> m_docManager;
};

}  // namespace framework
