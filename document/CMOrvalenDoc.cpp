#include "CMOrvalenDoc.h"

#include "framework/UserMessages.h"

#include "document/PanoramaKind.h"
#include "document/PanoramaView.h"
#include "document/SceneLists.h"
#include "document/TextureUpload.h"
#include "platform/image/Image.h"
#include "resources/Strings.h"

bool CMOrvalenDoc::OnOpenDocument(const std::string& path) {
    if (!Document::OnOpenDocument(path)) return false;  // the shell has said why
    Ui().BeginWaitCursor();
    LoadPanorama(path);  // an ending that selects no loader leaves the scene as it was
    Ui().EndWaitCursor();
    StartView();
    return true;
}

void CMOrvalenDoc::OnCloseDocument() {
    // The scene's objects live in the view's context.
    if (auto* view = dynamic_cast<PanoramaView*>(FirstView())) view->MakeContextCurrent();
    ReleaseScene();
    Document::OnCloseDocument();
}

void CMOrvalenDoc::StartView() {
    if (auto* view = dynamic_cast<PanoramaView*>(FirstView())) view->StartView();
}

void CMOrvalenDoc::ReleaseScene() {
    if (m_cubeList != 0) {
        glDeleteLists(m_cubeList, 1);
        m_cubeList = 0;
    }
    for (GLuint& texture : m_faceTexture) {
        if (texture != 0) {
            glDeleteTextures(1, &texture);
            texture = 0;
        }
    }
    if (m_overlayList != 0) {
        glDeleteLists(m_overlayList, 1);
        m_overlayList = 0;
    }
    if (m_overlayTexture != 0) {
        glDeleteTextures(1, &m_overlayTexture);
        m_overlayTexture = 0;
    }
}

bool CMOrvalenDoc::LoadPanorama(const std::string& path) {
    switch (KindOfPath(path)) {
        case PanoramaKind::Strip:
            LoadStripFile(path);
            return true;
        case PanoramaKind::Container:
            LoadContainerPanorama(path);
            return true;
        case PanoramaKind::None:
            break;
    }
    return false;
}

void CMOrvalenDoc::ReportLoadFailure(const std::string& path) {
    Messages().ShowWarning(orv::strings::Format(orv::strings::kPanoramaNotLoaded, path));
}

orv::image::DecodeOptions CMOrvalenDoc::PanoramaDecodeOptions() const {
    orv::image::DecodeOptions options;
    options.minHeight = m_faceSideLimit;
    return options;
}

void CMOrvalenDoc::BuildCube(orv::image::Image& panorama) {
    // Face i is the square of side h at column i * h; a square that does not
    // lie wholly inside the image gets no texture and shows white.
    const auto h = static_cast<int32_t>(panorama.Height());
    for (int32_t i = 0; i < 6; ++i) {
        const int64_t x = int64_t{i} * h;
        if (x > INT32_MAX) continue;  // beyond any image the budget allows
        UploadTexture(panorama, {static_cast<int32_t>(x), 0, h, h}, m_faceTexture[i]);
    }
    m_cubeList = CompileCubeList(m_faceTexture);
}

void CMOrvalenDoc::BuildOverlay(orv::image::Image& overlay, const OverlayDescription& placement) {
    m_overlayImageWidth = overlay.Width();
    m_overlayImageHeight = overlay.Height();
    m_overlayPosX = placement.posX;
    m_overlayPosY = placement.posY;
    m_overlaySize = placement.size;
    m_overlayAnchor = placement.anchor;
    m_overlayOpacity = placement.opacity;
    UploadTexture(overlay,
                  {0, 0, static_cast<int32_t>(overlay.Width()), static_cast<int32_t>(overlay.Height())},
                  m_overlayTexture);
    m_overlayList = CompileOverlayList(m_overlayTexture, m_overlayOpacity / 100.0);
}

