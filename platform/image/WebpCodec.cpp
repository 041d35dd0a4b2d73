// WebP through libwebp, decoded straight into the BGRA pixels; the ICC
// profile and Exif chunks through libwebp's demuxer. Animations are not read.
#include <webp/decode.h>
#include <webp/demux.h>

#include "Decoded.h"
#include "ExifIfd.h"

namespace orv::image {

void DecodeWebp(ByteSpan bytes, Decoded* out) {
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data, bytes.size, &features) != VP8_STATUS_OK) {
        out->Fail(Status::CorruptData, "WebP header");
        return;
    }
    if (features.has_animation) {
        out->Fail(Status::UnknownFormat, "animated WebP");
        return;
    }
    if (!out->AllocatePixels(static_cast<uint64_t>(features.width), static_cast<uint64_t>(features.height))) return;
    const size_t stride = size_t{out->width} * 4;
    if (!WebPDecodeBGRAInto(bytes.data, bytes.size, out->pixels.get(), stride * out->height,
                            static_cast<int>(stride))) {
        out->Fail(Status::CorruptData, "WebP data");
        return;
    }
    WebPData data{bytes.data, bytes.size};
    if (WebPDemuxer* demux = WebPDemux(&data)) {
        WebPChunkIterator chunk;
        if (WebPDemuxGetChunk(demux, "ICCP", 1, &chunk)) {
            out->AddProperty(kTagIccProfile, kPropertyUndefined,
                             std::vector<uint8_t>(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size));
            WebPDemuxReleaseChunkIterator(&chunk);
        }
        if (WebPDemuxGetChunk(demux, "EXIF", 1, &chunk)) {
            ReadIfd0Items(chunk.chunk.bytes, chunk.chunk.size, out);
            WebPDemuxReleaseChunkIterator(&chunk);
        }
        WebPDemuxDelete(demux);
    }
}

}  // namespace orv::image
