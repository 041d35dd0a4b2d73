#include "Inflate.h"

#include <zlib.h>

#include <algorithm>

namespace orv::image {

bool InflateBounded(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>* out) {
    out->clear();
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(std::min<size_t>(size, UINT32_MAX));
    int result = Z_OK;
    // Grow as the output comes, never beyond the limit.
    size_t capacity = std::min(limit, std::max<size_t>(size * 4, 4096));
    while (result == Z_OK) {
        if (out->size() == capacity) {
            if (capacity == limit) break;
            capacity = std::min(limit, capacity * 2);
        }
        const size_t used = out->size();
        out->resize(capacity);
        zs.next_out = out->data() + used;
        zs.avail_out = static_cast<uInt>(std::min<size_t>(capacity - used, UINT32_MAX));
        result = inflate(&zs, Z_NO_FLUSH);
        out->resize(capacity - zs.avail_out);
        if (result == Z_BUF_ERROR && zs.avail_in == 0) break;  // input ended early
        if (result == Z_BUF_ERROR) result = Z_OK;
    }
    inflateEnd(&zs);
    if (result != Z_STREAM_END) {
        out->clear();
        return false;
    }
    return true;
}

}  // namespace orv::image
