// Loading a .orvp strip image: the file decoded by content, its six squares
// as face textures, the cube list, and the overlay its metadata may carry.
#include "document/CMOrvalenDoc.h"
#include "platform/image/Image.h"

void CMOrvalenDoc::LoadStripFile(const std::string& path) {
    LoadStripImage(*orv::image::Image::FromFile(path, PanoramaDecodeOptions()), path);
}

void CMOrvalenDoc::LoadStripImage(orv::image::Image& image, const std::string& path) {
    ReleaseScene();
    if (image.LastStatus() != orv::image::Status::Ok) {
        // The overlay flag keeps its value; with no overlay list it draws
        // nothing.
        ReportLoadFailure(path);
        return;
    }
    BuildCube(image);
    m_hasOverlay = BuildOverlayFromMetadata(image);
}
