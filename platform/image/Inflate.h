// Inflating zlib streams found in metadata, with a limit on the output: a
// small chunk that would inflate to gigabytes stops at the limit and fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::image {

// Metadata items larger than this are not ours to read.
constexpr size_t kMaxInflatedItem = size_t{64} << 20;

// Inflates a complete zlib stream into *out; false for a broken or
// unfinished stream, or one that inflates beyond limit bytes.
bool InflateBounded(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>* out);

}  // namespace orv::image
