// The metadata items of a PNG file, read from its raw chunks: item 34675 from
// iCCP (inflated, whatever the profile holds), item 270 from the first tEXt,
// zTXt or iTXt chunk with the keyword "Description", and the IFD0 items of an
// eXIf chunk. Chunks with a bad CRC or lengths past the end are skipped.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Decoded.h"

namespace orv::image {

void ReadPngMetadata(const uint8_t* data, size_t size, Decoded* out);

}  // namespace orv::image
