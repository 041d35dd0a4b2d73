// Loading a .orvp2 container: its four records read in file order, the strip
// image decoded from the panorama record, the same cube as a strip file, and
// the overlay from the overlay record.
#include <memory>

#include "document/CMOrvalenDoc.h"
#include "document/ContainerFormat.h"
#include "document/TextureUpload.h"
#include "platform/image/Image.h"

void CMOrvalenDoc::LoadContainerPanorama(const std::string& path) {
    ReleaseScene();
    FileByteSource file;
    if (!file.Open(path)) {
        ReportLoadFailure(path);
        return;
    }
    LoadContainerFrom(file, path);
}

void CMOrvalenDoc::LoadContainerFrom(ByteSource& source, const std::string& path) {
    ReleaseScene();
    // The records are large (the header alone is 5 KB): kept on the heap.
    auto header = std::make_unique<ContainerHeader>();
    auto leading = std::make_unique<DataBlock>();
    auto overlay = std::make_unique<OverlayRecord>();
    auto panorama = std::make_unique<PanoramaRecord>();
    // Each reader starts where the one before stopped, whatever it returned:
    // only a missing or broken panorama image makes the load fail.
    ReadContainerHeader(source, *header);
    ReadDataBlock(source, *leading);
    ReadOverlayRecord(source, *overlay);
    ReadPanoramaRecord(source, *panorama);

    // Decoding sees the bytes that were present, never the declared Length.
    const std::vector<uint8_t>& bytes = panorama->ImageBlock.Payload;
    auto image = LoadImageFromMemory(bytes.data(), bytes.size(), PanoramaDecodeOptions());
    if (!image || image->LastStatus() != orv::image::Status::Ok) {
        ReportLoadFailure(path);
        return;
    }
    BuildCube(*image);
    m_hasOverlay = BuildOverlayFromRecord(*overlay);
}

bool CMOrvalenDoc::BuildOverlayFromRecord(const OverlayRecord& record) {
    const std::vector<uint8_t>& bytes = record.Image.Payload;
    auto overlay = LoadImageFromMemory(bytes.data(), bytes.size());
    if (!overlay || overlay->LastStatus() != orv::image::Status::Ok) return false;
    // float32 widened to double exactly; the anchor as the byte's value.
    OverlayDescription placement;
    placement.posX = record.PosXPercent;
    placement.posY = record.PosYPercent;
    placement.size = record.SizePercent;
    placement.anchor = record.AnchorMode;
    placement.opacity = record.OpacityPercent;
    BuildOverlay(*overlay, placement);
    return true;
}
