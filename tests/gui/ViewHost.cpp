// A small host for the view window, driven from outside under Xvfb by
// view_window_test.py. It prints what the driver checks on standard output:
//   context-current-before-show yes|no
//   message <text with \n for line breaks>
//   shown
//   released-with-context yes|no
//   ticks <count> <milliseconds from the first tick to the end of the last>
// Usage: view_host [--fail-step N] [--logo PATH] [--slow-frame MS] FILE
#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QThread>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "document/CMOrvalenDoc.h"
#include "framework/UserMessages.h"
#include "view/CMOrvalenView.h"

namespace {

class PrintingMessages : public UserMessages {
public:
    void ShowWarning(const std::string& text) override {
        std::string line = text;
        for (size_t at; (at = line.find('\n')) != std::string::npos;) line.replace(at, 1, "\\n");
        std::printf("message %s\n", line.c_str());
        std::fflush(stdout);
    }
};

// Fails one set-up step, counted from 1.
class FailingSetup : public GlSurfaceSetup {
public:
    explicit FailingSetup(int step) : m_step(step) {}
    bool ChooseFormat(QWindow& w) override { return m_step != 1 && GlSurfaceSetup::ChooseFormat(w); }
    bool CreateNativeWindow(QWindow& w) override { return m_step != 2 && GlSurfaceSetup::CreateNativeWindow(w); }
    bool DescribeFormat(QWindow& w) override { return m_step != 3 && GlSurfaceSetup::DescribeFormat(w); }
    bool CreateContext(QOpenGLContext& c, QWindow& w) override {
        return m_step != 4 && GlSurfaceSetup::CreateContext(c, w);
    }
    bool MakeCurrent(QOpenGLContext& c, QWindow& w) override {
        return m_step != 5 && GlSurfaceSetup::MakeCurrent(c, w);
    }

private:
    int m_step;
};

// A view whose every frame takes at least the given time, for the tick count.
class SlowView : public CMOrvalenView {
public:
    using CMOrvalenView::CMOrvalenView;
    int slowMs = 0;
    QElapsedTimer clock;
    qint64 firstTickMs = -1, lastTickMs = -1;

protected:
    void timerEvent(QTimerEvent* event) override {
        if (!clock.isValid()) clock.start();
        if (firstTickMs < 0) firstTickMs = clock.elapsed();
        CMOrvalenView::timerEvent(event);
        if (slowMs) QThread::msleep(static_cast<unsigned long>(slowMs));
        lastTickMs = clock.elapsed();
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failStep = 0, slowMs = 0;
    QString logo, file;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--fail-step") && i + 1 < argc) failStep = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--logo") && i + 1 < argc) logo = argv[++i];
        else if (!std::strcmp(argv[i], "--slow-frame") && i + 1 < argc) slowMs = std::atoi(argv[++i]);
        else file = QString::fromLocal8Bit(argv[i]);
    }
    PrintingMessages messages;
    CMOrvalenDoc doc;
    doc.SetUserMessages(&messages);

    QWidget frame;
    frame.setWindowTitle("view host");
    auto* view = new SlowView(messages, failStep ? std::make_unique<FailingSetup>(failStep) : nullptr);
    view->slowMs = slowMs;
    if (!logo.isEmpty()) view->SetLogoResource(logo);
    if (!view->CreateView()) {
        std::printf("create-failed\n");
        return 3;
    }
    std::printf("context-current-before-show %s\n",
                QOpenGLContext::currentContext() == view->Context() && view->Context() ? "yes" : "no");
    view->SetDocument(&doc);
    view->SetMainWindow(&frame);
    doc.LoadPanorama(file.toStdString());
    view->StartView();

    auto* layout = new QVBoxLayout(&frame);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* container = QWidget::createWindowContainer(view, &frame);
    container->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(container);
    frame.resize(640, 480);
    frame.move(0, 0);
    frame.show();
    container->setFocus();
    std::printf("shown\n");
    std::fflush(stdout);
    const int result = app.exec();

    // The scene goes while the view's context still exists.
    view->Context()->makeCurrent(view);
    const GLuint cube = doc.m_cubeList;
    doc.ReleaseScene();
    std::printf("released-with-context %s\n", cube && !glIsList(cube) ? "yes" : "no");
    std::printf("ticks %d %lld\n", view->TimerTicks(), view->lastTickMs - view->firstTickMs);
    std::fflush(stdout);
    return result;
}
