// The container's four record readers over files written independently of
// them: field positions, the 3-byte field followed directly by the length,
// skipped bytes, opacity before anchor, bytes after the last record, early
// ends at every offset, declared lengths past the end, and read errors.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "document/ContainerFormat.h"
#include "support/TempDir.h"

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
    return orv::test::ReadBytes(std::string(ORV_FIXTURE_DIR) + "/containers/" + name);
}

struct Records {
    std::unique_ptr<ContainerHeader> header = std::make_unique<ContainerHeader>();
    DataBlock leading;
    OverlayRecord overlay;
    PanoramaRecord panorama;
    bool ok[4] = {};
};

Records ReadAll(ByteSource& source) {
    Records r;
    r.ok[0] = ReadContainerHeader(source, *r.header);
    r.ok[1] = ReadDataBlock(source, r.leading);
    r.ok[2] = ReadOverlayRecord(source, r.overlay);
    r.ok[3] = ReadPanoramaRecord(source, r.panorama);
    return r;
}

// A source over bytes that raises a read error once reading reaches failAt.
class FailingSource : public ByteSource {
public:
    FailingSource(const std::vector<uint8_t>& bytes, size_t failAt) : m_bytes(bytes), m_failAt(failAt) {}
    size_t Read(void* buffer, size_t count) override {
        if (m_pos + count > m_failAt) throw ReadError();
        const size_t n = std::min(count, m_bytes.size() - m_pos);
        std::memcpy(buffer, m_bytes.data() + m_pos, n);
        m_pos += n;
        return n;
    }
    uint64_t Remaining() override { return m_bytes.size() - m_pos; }
    size_t Position() const { return m_pos; }

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_failAt;
    size_t m_pos = 0;
};

}  // namespace

TEST(ContainerFormat, MinimalContainerHandsOverThePanoramaPayloadWhole) {
    const auto bytes = Fixture("minimal.orvp2");
    MemoryByteSource source(bytes.data(), bytes.size());
    Records r = ReadAll(source);
    for (bool ok : r.ok) EXPECT_TRUE(ok);
    EXPECT_EQ(r.header->Value, 1u);
    EXPECT_EQ(r.header->Word1, 2);
    EXPECT_EQ(r.header->Word2, 3);
    EXPECT_EQ(r.header->Bytes200[199], 'H');
    EXPECT_EQ(r.header->Word3, 4);
    EXPECT_EQ(r.leading.Length, 0u);
    EXPECT_TRUE(r.leading.Payload.empty());
    EXPECT_EQ(r.overlay.Image.Length, 0u);
    EXPECT_EQ(r.panorama.Value1, 5u);
    EXPECT_EQ(r.panorama.Value2, 6u);
    // The panorama payload starts at 6576 and runs to the end of the file.
    const DataBlock& image = r.panorama.ImageBlock;
    ASSERT_EQ(image.Length, bytes.size() - 6576);
    ASSERT_EQ(image.Payload.size(), image.Length);
    EXPECT_EQ(std::memcmp(image.Payload.data(), bytes.data() + 6576, image.Length), 0);
    EXPECT_EQ(std::memcmp(image.Payload.data(), "\x89PNG", 4), 0);
    // The 3-byte field is followed directly by the length, unaligned.
    EXPECT_EQ(image.Word1, 0x1111);
    EXPECT_EQ(image.Word2, 0x2222);
    EXPECT_EQ(image.Bytes3[0], 0x33);
    EXPECT_EQ(image.Bytes3[2], 0x55);
}

TEST(ContainerFormat, OverlayPlacementSkipBytesAndTrailingBytes) {
    const auto bytes = Fixture("with_overlay.orvp2");
    MemoryByteSource source(bytes.data(), bytes.size());
    Records r = ReadAll(source);
    EXPECT_GT(r.overlay.Image.Length, 0u);
    EXPECT_EQ(r.overlay.Image.Payload.size(), r.overlay.Image.Length);
    EXPECT_EQ(r.overlay.PosXPercent, 12.5f);
    EXPECT_EQ(r.overlay.PosYPercent, 7.25f);
    EXPECT_EQ(r.overlay.SizePercent, 30.0f);
    EXPECT_EQ(r.overlay.OpacityPercent, 50.0f) << "opacity comes before the anchor";
    EXPECT_EQ(r.overlay.AnchorMode, 7);

    const auto skipped = Fixture("skip_255.orvp2");
    MemoryByteSource skipSource(skipped.data(), skipped.size());
    Records s = ReadAll(skipSource);
    EXPECT_EQ(s.panorama.SkipCount, 255);
    EXPECT_EQ(s.panorama.ExtraBlock.Length, 37u);
    EXPECT_EQ(s.panorama.ExtraBlock.Payload, std::vector<uint8_t>(37, 'x'));
    EXPECT_EQ(std::memcmp(s.panorama.ImageBlock.Payload.data(), "\x89PNG", 4), 0);
    EXPECT_EQ(skipSource.Position(), skipped.size());

    const auto trailing = Fixture("trailing_bytes.orvp2");
    MemoryByteSource trailingSource(trailing.data(), trailing.size());
    ReadAll(trailingSource);
    EXPECT_EQ(trailingSource.Position(), trailing.size() - 5000) << "bytes after the last record are not read";
}

TEST(ContainerFormat, EveryPrefixReadsWithoutFailingOrReadingPastTheEnd) {
    const auto bytes = Fixture("with_overlay.orvp2");
    for (size_t n = 0; n <= bytes.size(); ++n) {
        // An exact-size copy, so that the sanitizer build catches any read
        // beyond the prefix.
        std::unique_ptr<uint8_t[]> prefix(new uint8_t[n ? n : 1]);
        std::memcpy(prefix.get(), bytes.data(), n);
        MemoryByteSource source(prefix.get(), n);
        Records r = ReadAll(source);
        for (bool ok : r.ok) ASSERT_TRUE(ok) << "prefix " << n;
        ASSERT_LE(r.overlay.Image.Payload.size(), r.overlay.Image.Length);
        ASSERT_LE(r.panorama.ImageBlock.Payload.size(), r.panorama.ImageBlock.Length);
        if (n < kContainerHeaderSize) {
            ASSERT_EQ(r.leading.Length, 0u);
            ASSERT_EQ(r.panorama.ImageBlock.Length, 0u);
        }
    }
}

TEST(ContainerFormat, DeclaredLengthPastTheEndAllocatesOnlyWhatIsThere) {
    const auto bytes = Fixture("huge_length.orvp2");
    MemoryByteSource source(bytes.data(), bytes.size());
    Records r = ReadAll(source);
    EXPECT_TRUE(r.ok[3]);
    EXPECT_EQ(r.panorama.ImageBlock.Length, 0xFFFFFFFFu) << "the declared length is kept";
    EXPECT_EQ(r.panorama.ImageBlock.Payload.size(), bytes.size() - 6576);
    EXPECT_LT(r.panorama.ImageBlock.Payload.capacity(), 1u << 20);
}

TEST(ContainerFormat, ReadErrorStopsTheReaderWithTheRestZero) {
    const auto bytes = Fixture("with_overlay.orvp2");
    // In the overlay record's payload: the block keeps its length, has no
    // payload, and the fields after it stay zero.
    {
        FailingSource source(bytes, 5245 + 11 + 5);
        auto header = std::make_unique<ContainerHeader>();
        DataBlock leading;
        OverlayRecord overlay;
        EXPECT_TRUE(ReadContainerHeader(source, *header));
        EXPECT_TRUE(ReadDataBlock(source, leading));
        EXPECT_FALSE(ReadOverlayRecord(source, overlay));
        EXPECT_GT(overlay.Image.Length, 0u);
        EXPECT_TRUE(overlay.Image.Payload.empty());
        EXPECT_EQ(overlay.OpacityPercent, 0.0f);
        EXPECT_EQ(overlay.AnchorMode, 0);
        EXPECT_EQ(source.Position(), 5245u + 11) << "the payload was not consumed";
    }
    // In the header: everything from the failed field on is zero.
    {
        FailingSource source(bytes, 6);
        auto header = std::make_unique<ContainerHeader>();
        EXPECT_FALSE(ReadContainerHeader(source, *header));
        EXPECT_EQ(header->Value, 1u);
        EXPECT_EQ(header->Word1, 2);
        EXPECT_EQ(header->Word2, 0);
        EXPECT_EQ(header->Word3, 0);
    }
}

TEST(ContainerFormat, EmptyAndShortFilesGiveEmptyRecords) {
    for (const char* name : {"empty.orvp2", "header_only.orvp2"}) {
        SCOPED_TRACE(name);
        const auto bytes = Fixture(name);
        MemoryByteSource source(bytes.data(), bytes.size());
        Records r = ReadAll(source);
        for (bool ok : r.ok) EXPECT_TRUE(ok);
        EXPECT_EQ(r.leading.Length, 0u);
        EXPECT_EQ(r.overlay.Image.Length, 0u);
        EXPECT_EQ(r.panorama.ExtraBlock.Length, 0u);
        EXPECT_EQ(r.panorama.ImageBlock.Length, 0u);
    }
}
