#include "Application.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "framework/Commands.h"

namespace framework {
namespace {

std::string NameOfExecutable(const char* argv0) {
    return QFileInfo(QString::fromLocal8Bit(argv0)).completeBaseName().toStdString();
}

}  // namespace

Application::Application(int& argc, char** argv)
    : m_qt(std::make_unique<QApplication>(argc, argv)),
      m_appName(NameOfExecutable(argc > 0 ? argv[0] : "orvalen")),
      m_messages(QString::fromStdString(m_appName)) {
    for (int i = 1; i < argc; ++i) m_arguments.emplace_back(argv[i]);
    // The standard buttons and dialogs speak German, as the program does.
    auto* translator = new QTranslator(m_qt.get());
    if (translator->load(QLocale(QLocale::German), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        m_qt->installTranslator(translator);
    }
}

Application::~Application() {
    m_docManager.reset();  // the frame and view go before the Qt application
}

int Application::Run() {
    const bool started = InitInstance();
    int code = 1;  // a start that failed is no success
    if (started) code = m_qt->exec();
    const int exitCode = ExitInstance();
    return started ? exitCode : code;
}

int Application::ExitInstance() {
    if (m_docManager) {
        if (RecentFileList* recent = m_docManager->Recent()) recent->Save();
        m_docManager->CloseAll();
    }
    return 0;
}

void Application::SetRegistryKey(const std::string& key) {
    m_profileKey = "Software\\" + key + "\\" + m_appName;
}

void Application::LoadStdProfileSettings(size_t recentFiles) {
    if (!m_docManager || m_profileKey.empty()) return;
    auto list = std::make_unique<RecentFileList>(m_profileKey + "\\Recent File List", recentFiles);
    list->Load();
    m_docManager->SetRecentFileList(std::move(list));
}

void Application::SetDocManager(std::unique_ptr<DocManager> manager) {
    m_docManager = std::move(manager);
    m_docManager->onFrameCreated = [this](FrameWindow& frame) {
        frame.SetCommandHandler([this](int id) { OnCommand(id); });
        frame.SetDropHandler([this](const std::vector<std::string>& paths) {
            for (const std::string& path : paths) m_docManager->OpenDocumentFile(path);
        });
        m_messages.SetParent(&frame);
    };
}

void Application::AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate) {
    if (m_docManager) m_docManager->AddDocTemplate(std::move(docTemplate));
}

void Application::RegisterShellFileTypes(bool compatibility) {
    if (m_docManager) m_docManager->RegisterShellFileTypes(compatibility);
}

bool Application::ProcessShellCommand(const CommandLineInfo& info) {
    if (!m_docManager) return false;
    switch (info.action) {
        case CommandLineInfo::Action::FileNew:
            return m_docManager->OnFileNew() && m_docManager->Frame();
        case CommandLineInfo::Action::FileOpen:
            return m_docManager->OpenDocumentFile(info.fileName);
        case CommandLineInfo::Action::FilePrint:
        case CommandLineInfo::Action::FilePrintTo:
            // The file is opened with the window hidden and the print command
            // sent; nothing handles it, so nothing is printed and processing
            // fails: the program ends.
            m_docManager->OpenDocumentFile(info.fileName);
            OnCommand(ID_FILE_PRINT_DIRECT);
            return false;
    }
    return false;
}

void Application::MessageBox(const std::string& text) { m_messages.ShowWarning(text); }

void Application::OnCommand(int id) {
    if (!m_docManager) return;
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + 16) {
        m_docManager->OpenRecentFile(static_cast<size_t>(id - ID_FILE_MRU_FILE1));
        return;
    }
    switch (id) {
        case ID_FILE_NEW: m_docManager->OnFileNew(); break;
        case ID_FILE_OPEN: m_docManager->OnFileOpen(); break;
        case ID_APP_EXIT:
            if (FrameWindow* frame = m_docManager->Frame()) frame->close();
            break;
        case ID_APP_ABOUT: OnAppAbout(); break;
        default:
            // Save, edit, pane and print commands have no handler: the
            // document never writes a file.
            break;
    }
}

}  // namespace framework
