#include "CMOrvalenView.h"

#include <QCoreApplication>
#include <QExposeEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QTimerEvent>
#include <QWheelEvent>

#include "document/CMOrvalenDoc.h"
#include "document/SceneLists.h"
#include "document/TextureUpload.h"
#include "framework/StartupTrace.h"
#include "framework/UserMessages.h"
#include "platform/image/Image.h"
#include "resources/Strings.h"
#include "view/FrameDrawing.h"

const char* const CMOrvalenView::kLogoResource = ":/GUI/IDR_OPENGL_LOGO";

// The embedded images sit in a static library: naming their initialiser here
// keeps the linker from dropping them.
static void InitGuiResources() { Q_INIT_RESOURCE(gui); }

namespace {

constexpr int kTimerPeriodMs = 20;

unsigned MouseFlags(const QMouseEvent& event) {
    unsigned flags = 0;
    if (event.buttons() & Qt::LeftButton) flags |= kLeftButton;
    if (event.modifiers() & Qt::ControlModifier) flags |= kControlKey;
    return flags;
}

ViewPoint PointOf(const QMouseEvent& event, qreal ratio) {
    // Client pixels, as the camera measures drags.
    const QPointF p = event.position() * ratio;
    return {static_cast<int>(p.x()), static_cast<int>(p.y())};
}

}  // namespace

CMOrvalenView::CMOrvalenView(UserMessages& messages, std::unique_ptr<GlSurfaceSetup> setup)
    : m_messages(messages),
      m_setup(setup ? std::move(setup) : std::make_unique<GlSurfaceSetup>()),
      m_camera(*this),
      m_logoResource(kLogoResource) {
    InitGuiResources();
    m_camera.ReadPreferences();
}

CMOrvalenView::~CMOrvalenView() { DestroyView(); }

void CMOrvalenView::FailSetUp(const char* step) {
    m_messages.ShowWarning(orv::strings::Format(orv::strings::kOpenGlFailed, step));
}

bool CMOrvalenView::CreateView() {
    if (!m_setup->ChooseFormat(*this)) return FailSetUp(kChooseFormatStep), false;
    if (!m_setup->CreateNativeWindow(*this)) return FailSetUp(kCreateNativeWindowStep), false;
    if (!m_setup->DescribeFormat(*this)) return FailSetUp(kDescribeFormatStep), false;
    m_context = std::make_unique<QOpenGLContext>();
    if (!m_setup->CreateContext(*m_context, *this)) {
        m_context.reset();
        return FailSetUp(kCreateContextStep), false;
    }
    if (!m_setup->MakeCurrent(*m_context, *this)) {
        m_context.reset();
        return FailSetUp(kMakeCurrentStep), false;
    }
    // Every frame covers the whole window with the cube around the eye: no
    // depth test, no clearing.
    glDisable(GL_DEPTH_TEST);
    if (!PrepareLogo()) {
        DestroyView();
        return false;
    }
    return true;
}

void CMOrvalenView::DestroyView() {
    if (m_timerId) killTimer(m_timerId);
    m_timerId = 0;
    if (!m_context) return;
    m_context->makeCurrent(this);
    if (m_logoList) glDeleteLists(m_logoList, 1);
    m_logoList = 0;
    if (m_logoTexture) glDeleteTextures(1, &m_logoTexture);
    m_logoTexture = 0;
    m_context->doneCurrent();
    m_context.reset();
}

bool CMOrvalenView::PrepareLogo() {
    // The logo is prepared and kept with the view, though no frame shows it.
    QFile file(m_logoResource);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) return false;
    auto image = LoadImageFromMemory(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                     static_cast<size_t>(bytes.size()));
    if (!image || image->LastStatus() != orv::image::Status::Ok) return false;
    // A lock that fails leaves the texture at 0; the list is built all the same.
    UploadTextureWithMipmaps(*image,
                             {0, 0, static_cast<int32_t>(image->Width()), static_cast<int32_t>(image->Height())},
                             m_logoTexture, m_camera.m_enableMipmaps);
    m_logoList = CompileOverlayList(m_logoTexture, 1.0);
    return true;
}

void CMOrvalenView::MakeContextCurrent() {
    if (m_context) m_context->makeCurrent(this);
}

int CMOrvalenView::PixelWidth() const { return qRound(width() * devicePixelRatio()); }
int CMOrvalenView::PixelHeight() const { return qRound(height() * devicePixelRatio()); }

void CMOrvalenView::DrawNow() {
    if (!m_context || !isExposed() || !m_document) return;
    m_context->makeCurrent(this);
    DrawFrame(m_document, m_camera.Frame(), PixelWidth(), PixelHeight());
    m_context->swapBuffers(this);
    static bool traced = false;
    if (!traced && m_document->m_cubeList) {
        traced = true;
        framework::TracePhase("first-frame");
    }
}

void CMOrvalenView::exposeEvent(QExposeEvent*) { DrawNow(); }

void CMOrvalenView::resizeEvent(QResizeEvent*) {
    if (!m_context) return;
    m_context->makeCurrent(this);
    glViewport(0, 0, PixelWidth(), PixelHeight());
    DrawNow();  // the new frame before the handler returns
}

void CMOrvalenView::ShowDragCursor(DragCursor cursor) {
    if (cursor == DragCursor::Unchanged) return;
    m_previousCursor = this->cursor();
    setCursor(cursor == DragCursor::Horizontal ? Qt::SizeHorCursor : Qt::SizeAllCursor);
}

void CMOrvalenView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    ShowDragCursor(m_camera.OnLButtonDown(MouseFlags(*event), PointOf(*event, devicePixelRatio())));
}

void CMOrvalenView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) setCursor(m_previousCursor);
}

void CMOrvalenView::mouseMoveEvent(QMouseEvent* event) {
    const DragCursor cursor = m_camera.OnMouseMove(MouseFlags(*event), PointOf(*event, devicePixelRatio()));
    if (cursor != DragCursor::Unchanged) setCursor(cursor == DragCursor::Horizontal ? Qt::SizeHorCursor : Qt::SizeAllCursor);
}

void CMOrvalenView::wheelEvent(QWheelEvent* event) {
    m_camera.OnMouseWheel(event->angleDelta().y());
    event->accept();
}

void CMOrvalenView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:  // the plus key of US layouts, unshifted
            m_camera.OnZoomKey(true);
            break;
        case Qt::Key_Minus:
            m_camera.OnZoomKey(false);
            break;
        case Qt::Key_Escape: {
            // Posted, so that the window closes after this handler.
            QObject* target = m_mainWindow ? m_mainWindow.data() : this;
            QMetaObject::invokeMethod(target, "close", Qt::QueuedConnection);
            break;
        }
        default:
            break;  // every other key is ignored
    }
    event->accept();
}

void CMOrvalenView::StartAnimationTimer() {
    // Starting again restarts the period, as setting a window timer does.
    if (m_timerId) killTimer(m_timerId);
    m_timerId = startTimer(kTimerPeriodMs, Qt::PreciseTimer);
}

void CMOrvalenView::StopAnimationTimer() {
    if (m_timerId) killTimer(m_timerId);
    m_timerId = 0;
}

void CMOrvalenView::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timerId) return QWindow::timerEvent(event);
    // Qt fires an overdue timer once, not once per missed period: a frame
    // slower than the period lowers the tick rate instead of piling up ticks.
    ++m_ticks;
    m_camera.Tick();
    DrawNow();
}
