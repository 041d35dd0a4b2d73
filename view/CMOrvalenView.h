// The panorama view: a window with an OpenGL context of its own, made
// current when the view is created, before anything is shown, and kept
// current until the view is destroyed. It draws its document's scene with the
// frame drawing, turns the camera with mouse and keys, and runs the 20 ms
// animation timer while the camera moves.
#pragma once

#include <GL/gl.h>

#include <QCursor>
#include <QPointer>
#include <QWindow>
#include <memory>

#include "document/PanoramaView.h"
#include "view/GlSurfaceSetup.h"
#include "view/ViewCamera.h"

class CMOrvalenDoc;
class QOpenGLContext;
class UserMessages;

class CMOrvalenView : public QWindow, public PanoramaView, private AnimationTimer {
public:
    // Reads the view's preferences. messages shows the set-up failure.
    explicit CMOrvalenView(UserMessages& messages, std::unique_ptr<GlSurfaceSetup> setup = nullptr);
    ~CMOrvalenView() override;

    // Creates the native window and its context, makes the context current,
    // turns depth testing off and prepares the logo. False when a step
    // failed: the message names the step (no message when only the logo
    // failed). The view then holds nothing to release.
    bool CreateView();
    // Releases the logo and the context. Also run by the destructor.
    void DestroyView();

    void SetDocument(CMOrvalenDoc* doc) { m_document = doc; }
    CMOrvalenDoc* Document() const { return m_document; }
    // The window that Escape closes; without one, Escape closes the view.
    void SetMainWindow(QObject* window) { m_mainWindow = window; }

    // The opening animation, after every open.
    void StartView() override { m_camera.StartOpeningAnimation(); }
    void MakeContextCurrent() override;
    // Draws a frame now and swaps.
    void DrawNow();

    ViewCamera& Camera() { return m_camera; }
    QOpenGLContext* Context() const { return m_context.get(); }
    GLuint LogoList() const { return m_logoList; }
    GLuint LogoTexture() const { return m_logoTexture; }
    int TimerTicks() const { return m_ticks; }

    // Where the logo is read from: a resource path of the program.
    static const char* const kLogoResource;
    void SetLogoResource(QString path) { m_logoResource = std::move(path); }

protected:
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void StartAnimationTimer() override;
    void StopAnimationTimer() override;
    bool PrepareLogo();
    void FailSetUp(const char* step);
    void ShowDragCursor(DragCursor cursor);
    int PixelWidth() const;
    int PixelHeight() const;

    UserMessages& m_messages;
    std::unique_ptr<GlSurfaceSetup> m_setup;
    std::unique_ptr<QOpenGLContext> m_context;
    CMOrvalenDoc* m_document = nullptr;
    QPointer<QObject> m_mainWindow;
    ViewCamera m_camera;
    GLuint m_logoList = 0;
    GLuint m_logoTexture = 0;
    QString m_logoResource;
    QCursor m_previousCursor;
    int m_timerId = 0;
    int m_ticks = 0;
};
