#include "ContainerFormat.h"

#include <algorithm>
#include <bit>
#include <type_traits>
#include <cstring>
#include <new>

namespace {

// Reads a fixed field of exactly its own size; what the file does not reach
// stays as it was (zero).
template <typename T>
void ReadField(ByteSource& source, T& field) {
    uint8_t bytes[sizeof(T)];
    const size_t got = source.Read(bytes, sizeof bytes);
    if constexpr (std::is_arithmetic_v<T>) {
        // Little-endian in the file, whatever the host.
        uint8_t host[sizeof(T)] = {};
        std::memcpy(host, bytes, got);
        if constexpr (std::endian::native == std::endian::big) std::reverse(host, host + sizeof(T));
        std::memcpy(&field, host, sizeof(T));
    } else {
        std::memcpy(&field, bytes, got);
    }
}

void ReadBlock(ByteSource& source, DataBlock& block) {
    ReadField(source, block.Word1);
    ReadField(source, block.Word2);
    ReadField(source, block.Bytes3);
    ReadField(source, block.Length);
    block.Payload.clear();
    if (block.Length == 0) return;
    // Only what the file still holds is allocated and read.
    const size_t present = static_cast<size_t>(std::min<uint64_t>(block.Length, source.Remaining()));
    // A failed allocation (bad_alloc) or a read error (ReadError) leaves the
    // block with its declared Length and no payload: nothing half-read is
    // ever decoded.
    std::vector<uint8_t> payload(present);
    payload.resize(source.Read(payload.data(), present));
    block.Payload = std::move(payload);
}

template <typename Fn>
bool Guarded(Fn&& read) {
    try {
        read();
        return true;
    } catch (const ReadError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool ReadContainerHeader(ByteSource& source, ContainerHeader& h) {
    return Guarded([&] {
        ReadField(source, h.Value);
        ReadField(source, h.Word1);
        ReadField(source, h.Word2);
        ReadField(source, h.Bytes200);
        ReadField(source, h.Bytes4000);
        ReadField(source, h.Word3);
        ReadField(source, h.Bytes1024);
    });
}

bool ReadDataBlock(ByteSource& source, DataBlock& block) {
    return Guarded([&] { ReadBlock(source, block); });
}

bool ReadOverlayRecord(ByteSource& source, OverlayRecord& r) {
    return Guarded([&] {
        ReadBlock(source, r.Image);
        ReadField(source, r.PosXPercent);
        ReadField(source, r.PosYPercent);
        ReadField(source, r.SizePercent);
        ReadField(source, r.OpacityPercent);  // opacity comes before the anchor
        ReadField(source, r.AnchorMode);
    });
}

bool ReadPanoramaRecord(ByteSource& source, PanoramaRecord& r) {
    return Guarded([&] {
        ReadField(source, r.Value1);
        ReadField(source, r.Bytes200);
        ReadField(source, r.Value2);
        ReadField(source, r.Values8);
        ReadField(source, r.SkipCount);
        for (int i = 0; i < r.SkipCount; ++i) {
            uint8_t skipped;
            source.Read(&skipped, 1);
        }
        ReadField(source, r.Bytes1024);
        ReadBlock(source, r.ExtraBlock);
        ReadBlock(source, r.ImageBlock);
    });
}
