// The animation's tick rate: with fast frames the 20 ms timer gives 50 ticks
// a second; with a frame slower than the period, ticks do not queue up
// behind it. The timer is the view's own kind (a Qt precise timer driving the
// camera and a frame on a headless context), counted over two seconds each.
#include <GL/gl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimerEvent>
#include <cstdio>

#include "BenchSupport.h"
#include "HeadlessBench.h"
#include "TempRegistry.h"
#include "document/CMOrvalenDoc.h"
#include "platform/gl/HeadlessContext.h"
#include "view/ViewCamera.h"

namespace {

class Ticker : public QObject, public AnimationTimer {
public:
    Ticker(CMOrvalenDoc& doc, int frameMs) : m_doc(doc), m_frameMs(frameMs), m_camera(*this) {}
    void StartAnimationTimer() override { m_id = startTimer(20, Qt::PreciseTimer); }
    void StopAnimationTimer() override { killTimer(m_id); }
    int Count(int ms) {
        m_camera.m_lockDrag = true;  // a spin: the timer never stops by itself
        m_camera.m_lockStep = 10;
        StartAnimationTimer();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        StopAnimationTimer();
        return m_ticks;
    }

protected:
    void timerEvent(QTimerEvent*) override {
        ++m_ticks;
        m_camera.Tick();
        DrawFrame(&m_doc, m_camera.Frame(), 640, 480);
        glFinish();
        if (m_frameMs) QThread::msleep(static_cast<unsigned long>(m_frameMs));
    }

private:
    CMOrvalenDoc& m_doc;
    int m_frameMs;
    ViewCamera m_camera;
    int m_id = 0;
    int m_ticks = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    orv::gl::HeadlessContext context;
    if (!orv::bench::CreateBenchContext(context, 640, 480)) return 2;
    orv::bench::TempRegistry registry;
    CMOrvalenDoc doc;
    doc.LoadPanorama(std::string(ORV_SOURCE_DIR) + "/sample/sample.orvp");
    constexpr int kMs = 2000;
    const int fast = Ticker(doc, 0).Count(kMs);
    bool ok = orv::bench::Report("ticks per second, fast frames", fast * 1000.0 / kMs, 50.0, 1.04, "/s");
    ok &= fast * 1000.0 / kMs >= 45.0;
    // With 60 ms frames at most one tick fits each frame: 2000 / 60 = 33.
    const int slow = Ticker(doc, 60).Count(kMs);
    ok &= orv::bench::Report("ticks in 2 s with 60 ms frames (no backlog)", slow, kMs / 60.0, 1.04, "");
    doc.ReleaseScene();
    return ok ? 0 : 1;
}
