// The panorama document: the open panorama as OpenGL objects in the view's
// rendering context (six face textures, the cube display list, and an
// optional overlay with its texture, display list and placement). Every load
// replaces the scene; nothing is ever written back to a file. All of it needs
// the view's rendering context current.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>

#include "document/OverlayDescription.h"
#include "framework/Document.h"

#include "platform/image/Image.h"
class ByteSource;
struct OverlayRecord;

class CMOrvalenDoc : public framework::Document {
public:
    CMOrvalenDoc() = default;

    // The shell's new-document step only: a loaded scene stays on screen.
    bool OnNewDocument() override { return Document::OnNewDocument(); }
    // Lets the shell check that the file opens, shows the wait cursor while
    // the loader that the path's ending selects runs, then restarts the view
    // with the opening animation. False only when the file cannot be opened
    // for reading; a loader reports its own failure.
    bool OnOpenDocument(const std::string& path) override;
    // Releases the scene while the view and its context still exist.
    void OnCloseDocument() override;
    // The opening animation in the document's first view, if it is a
    // panorama view.
    void StartView();

    // Deletes the scene's lists and textures and sets their ids to 0. The
    // overlay flag and placement stay as they are.
    void ReleaseScene();

    // Loads path with the loader its ending selects; false when the ending
    // selects none (and nothing changed). A loader reports its own failure.
    bool LoadPanorama(const std::string& path);

    // For previews: faces need be no larger than this many pixels, and the
    // panorama image is decoded reduced to about that height (see
    // DecodeOptions). 0 (the default) keeps the full resolution.
    void SetFaceSideLimit(uint32_t pixels) { m_faceSideLimit = pixels; }

    // A strip image: six square faces side by side, the overlay in its
    // metadata.
    void LoadStripFile(const std::string& path);
    // The strip loader on an image already decoded (with
    // PanoramaDecodeOptions, so that it may be decoded on another thread
    // while the context is made); path is for messages.
    void LoadStripImage(orv::image::Image& image, const std::string& path);
    // How a panorama's image is to be decoded: reduced when faces are limited.
    orv::image::DecodeOptions PanoramaDecodeOptions() const;
    // A .orvp2 container.
    void LoadContainerPanorama(const std::string& path);
    // The container loader on an already open source; path is for messages.
    void LoadContainerFrom(ByteSource& source, const std::string& path);

    // The overlay from items 34675 (the image) and 270 (the placement) of a
    // decoded strip image; true when an overlay was built.
    bool BuildOverlayFromMetadata(orv::image::Image& image);
    // The overlay from a container's overlay record.
    bool BuildOverlayFromRecord(const OverlayRecord& record);

    GLuint m_cubeList = 0;
    GLuint m_faceTexture[6] = {0, 0, 0, 0, 0, 0};
    GLuint m_overlayList = 0;
    GLuint m_overlayTexture = 0;
    double m_overlayPosX = 0.0;         // percent
    double m_overlayPosY = 0.0;         // percent
    double m_overlaySize = 0.0;         // percent of a fifth of the view's area
    double m_overlayImageWidth = 0.0;   // pixels
    double m_overlayImageHeight = 0.0;  // pixels
    int32_t m_overlayAnchor = 0;        // 0 by percent, 1 to 4 the corners
    double m_overlayOpacity = 0.0;      // percent
    bool m_hasOverlay = false;

private:
    // Uploads the six faces of a decoded panorama and compiles the cube.
    void BuildCube(orv::image::Image& panorama);
    // Takes the overlay image's size and the placement, uploads the image and
    // compiles its list with the opacity: the same for both file types.
    void BuildOverlay(orv::image::Image& overlay, const OverlayDescription& placement);
    void ReportLoadFailure(const std::string& path);

    uint32_t m_faceSideLimit = 0;
};
