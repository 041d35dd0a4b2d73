// BMP through Qt's image reader (Qt Gui, no window system needed).
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>

#include "Decoded.h"

namespace orv::image {

void DecodeBmp(ByteSpan bytes, Decoded* out) {
    // Qt fills the missing rows of a cut-off file silently; the file header's
    // size field (0 when the writer left it out) tells that rows are missing.
    uint32_t declared = 0;
    if (bytes.size >= 6) std::memcpy(&declared, bytes.data + 2, 4);
    if (bytes.size < 14 || (declared != 0 && bytes.size < declared)) {
        out->Fail(Status::CorruptData, "BMP file ends early");
        return;
    }
    const QByteArray encoded = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data),
                                                       static_cast<qsizetype>(bytes.size));
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(static_cast<int>(kMaxImagePixels * 4 >> 20));
    const QSize size = reader.size();
    if (!size.isValid()) {
        out->Fail(Status::CorruptData, "BMP header");
        return;
    }
    if (!out->AllocatePixels(static_cast<uint64_t>(size.width()), static_cast<uint64_t>(size.height()))) return;
    QImage image;
    if (!reader.read(&image) || image.size() != size) {
        out->Fail(Status::CorruptData, "BMP data: " + reader.errorString().toStdString());
        return;
    }
    // ARGB32 is the 32-bit word 0xAARRGGBB: blue first in memory on our
    // little-endian hosts, alpha not premultiplied.
    image.convertTo(QImage::Format_ARGB32);
    const size_t rowBytes = size_t{out->width} * 4;
    for (uint32_t y = 0; y < out->height; ++y) {
        std::memcpy(out->pixels.get() + y * rowBytes, image.constScanLine(static_cast<int>(y)), rowBytes);
    }
}

}  // namespace orv::image
