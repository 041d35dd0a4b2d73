// The .orvp2 container: four positional little-endian records in this order,
// each exactly once, with no magic, no padding and no alignment:
//
//   ContainerHeader  5234 bytes, not interpreted
//   LeadingBlock     one DataBlock, not interpreted
//   OverlayRecord    DataBlock Image, float32 PosX, PosY, Size, Opacity, uint8 Anchor
//   PanoramaRecord   uint32, 200 bytes, uint32, 6 x 8 bytes, uint8 SkipCount,
//                    SkipCount bytes (dropped), 1024 bytes, DataBlock Extra,
//                    DataBlock Image (the strip)
//
// A DataBlock is uint16, uint16, 3 bytes, uint32 Length, then Length bytes.
// Bytes after the last record are never read.
//
// A declared Length is kept as it is, but a block's payload holds only the
// bytes the file really has: a file of a few kilobytes that declares 4 GiB
// costs a few kilobytes.
#pragma once

#include <cstdint>
#include <vector>

#include "ByteSource.h"

struct DataBlock {
    uint16_t Word1 = 0;
    uint16_t Word2 = 0;
    uint8_t Bytes3[3] = {0, 0, 0};
    uint32_t Length = 0;
    std::vector<uint8_t> Payload;  // the bytes of the payload that were present
};

struct ContainerHeader {
    uint32_t Value = 0;
    uint16_t Word1 = 0;
    uint16_t Word2 = 0;
    uint8_t Bytes200[200] = {};
    uint8_t Bytes4000[4000] = {};
    uint16_t Word3 = 0;
    uint8_t Bytes1024[1024] = {};
};

struct OverlayRecord {
    DataBlock Image;
    float PosXPercent = 0;
    float PosYPercent = 0;
    float SizePercent = 0;
    float OpacityPercent = 0;
    uint8_t AnchorMode = 0;
};

struct PanoramaRecord {
    uint32_t Value1 = 0;
    uint8_t Bytes200[200] = {};
    uint32_t Value2 = 0;
    uint8_t Values8[6][8] = {};
    uint8_t SkipCount = 0;
    uint8_t Bytes1024[1024] = {};
    DataBlock ExtraBlock;
    DataBlock ImageBlock;
};

constexpr size_t kContainerHeaderSize = 5234;
constexpr size_t kDataBlockHeaderSize = 11;

// Each reads its record from the source's position into a zero-filled
// record. False when a read error or a failed allocation stopped it; the
// fields after that point keep their zero values. The end of the file is no
// error: fields it does not reach stay zero.
bool ReadContainerHeader(ByteSource& source, ContainerHeader& header);
bool ReadDataBlock(ByteSource& source, DataBlock& block);
bool ReadOverlayRecord(ByteSource& source, OverlayRecord& record);
bool ReadPanoramaRecord(ByteSource& source, PanoramaRecord& record);
