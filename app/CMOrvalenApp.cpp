#include "CMOrvalenApp.h"

#include <QApplication>
#include <QCursor>

#include "app/AppResources.h"
#include "app/CMDocManager.h"
#include "app/CMPanoramaAboutDlg.h"
#include "app/CMPanoramaMainFrame.h"
#include "document/CMOrvalenDoc.h"
#include "framework/StartupTrace.h"
#include "resources/Strings.h"
#include "splash/CMSplashScreen.h"
#include "view/CMOrvalenView.h"

namespace {

// The wait cursor while a panorama loads.
class WaitCursorUi : public framework::DocumentUi {
public:
    void BeginWaitCursor() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
    void EndWaitCursor() override { QApplication::restoreOverrideCursor(); }
};

WaitCursorUi g_waitCursor;

}  // namespace

CMOrvalenApp::CMOrvalenApp(int& argc, char** argv, std::unique_ptr<PlatformStartup> platform)
    : Application(argc, argv), m_platform(platform ? std::move(platform) : std::make_unique<PlatformStartup>()) {}

CMOrvalenApp::~CMOrvalenApp() = default;

UserMessages& CMOrvalenApp::Messages() {
    return m_userMessages ? *m_userMessages : static_cast<UserMessages&>(Application::Messages());
}

std::unique_ptr<framework::DocTemplate> CMOrvalenApp::MakeTemplate() {
    auto t = std::make_unique<framework::DocTemplate>();
    t->docString = std::string(orv::strings::Text(orv::strings::kDocumentString));
    t->createDocument = [this] {
        auto doc = std::make_unique<CMOrvalenDoc>();
        doc->SetUserMessages(&Messages());
        doc->SetUi(&g_waitCursor);
        return doc;
    };
    t->createFrame = [t = t.get()]() -> std::unique_ptr<framework::FrameWindow> {
        auto frame = std::make_unique<CMPanoramaMainFrame>();
        std::string title;
        t->GetDocString(title, framework::DocTemplate::windowTitle);
        if (!frame->LoadFrame(MainMenu(), MainAccelerators(), ApplicationIcon(), QString::fromStdString(title)))
            return nullptr;
        return frame;
    };
    t->createView = [this](framework::FrameWindow& frame, framework::Document& doc) -> framework::ViewParts {
        auto* view = new CMOrvalenView(Messages());
        if (!view->CreateView()) {
            delete view;
            return {};
        }
        view->SetDocument(static_cast<CMOrvalenDoc*>(&doc));
        view->SetMainWindow(&frame);
        return {view, view};
    };
    return t;
}

bool CMOrvalenApp::InitInstance() {
    framework::TracePhase("init");
    m_platform->InitCommonControls();
    if (!m_platform->InitOle()) {
        Messages().ShowWarning(std::string(orv::strings::Text(orv::strings::kOleFailed)));
        return false;
    }
    if (!m_platform->StartImageLibrary()) {
        Messages().ShowWarning(std::string(orv::strings::Text(orv::strings::kImageLibraryFailed)));
        return false;
    }
    m_imageLibraryStarted = true;

    auto splash = std::make_unique<CMSplashScreen>(AppName());
    SetDocManager(std::make_unique<CMDocManager>());
    SetRegistryKey("TessalyCAD");
    LoadStdProfileSettings(4);
    AddDocTemplate(MakeTemplate());
    RegisterShellFileTypes(true);
    framework::TracePhase("registered");

    const framework::CommandLineInfo info = framework::ParseCommandLine(Arguments());
    if (!ProcessShellCommand(info)) return false;  // the splash ends with the process
    framework::TracePhase("command-line");
    splash.reset();

    framework::FrameWindow* frame = GetDocManager()->Frame();
    if (!frame) return true;  // nothing to show
    frame->show();
    frame->raise();
    frame->activateWindow();
    frame->AcceptDroppedFiles(true);
    framework::TracePhase("shown");
    return true;
}

int CMOrvalenApp::ExitInstance() {
    if (m_imageLibraryStarted) m_platform->StopImageLibrary();
    return Application::ExitInstance();
}

void CMOrvalenApp::OnAppAbout() {
    CMPanoramaAboutDlg dialog(GetDocManager() ? GetDocManager()->Frame() : nullptr);
    dialog.exec();
}
