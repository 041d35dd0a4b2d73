// Reads the items of the first image file directory (IFD0) of a TIFF-structured
// block, as Exif blocks in JPEG, PNG and WebP files carry it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Decoded.h"

namespace orv::image {

// Adds every IFD0 entry whose value lies inside the block to out's items;
// numbers of big-endian blocks are turned into little-endian. Entries that
// point outside the block are left out. False when the block has no valid
// header or directory.
bool ReadIfd0Items(const uint8_t* block, size_t size, Decoded* out);

}  // namespace orv::image
