// Metadata items 34675 (the overlay image, in the colour-profile item) and 270
// (the description) from PNG, JPEG, TIFF and WebP files written by Pillow, and
// items whose lengths or offsets are broken.
#include <gtest/gtest.h>

#include <string>

#include "platform/image/Image.h"

using namespace orv::image;

namespace {

std::string Fixture(const std::string& name) { return std::string(ORV_FIXTURE_DIR) + "/images/" + name; }

std::string Description(Image& image) {
    const PropertyItem* item = image.Property(kTagImageDescription);
    if (!item) return "<none>";
    EXPECT_EQ(item->type, kPropertyAscii);
    std::string text(item->value.begin(), item->value.end());
    EXPECT_EQ(text.back(), '\0') << "8-bit text with its NUL";
    return text.substr(0, text.find('\0'));
}

// The profile item of the fixtures holds an 8 x 4 opaque green PNG.
void ExpectOverlayInProfile(Image& image, size_t expectedSize = 0) {
    const PropertyItem* item = image.Property(kTagIccProfile);
    ASSERT_NE(item, nullptr);
    if (expectedSize) {
        EXPECT_EQ(item->value.size(), expectedSize);
    }
    auto overlay = Image::FromMemory(item->value.data(), item->value.size());
    ASSERT_EQ(overlay->LastStatus(), Status::Ok) << overlay->LastMessage();
    EXPECT_EQ(overlay->Width(), 8u);
    EXPECT_EQ(overlay->Height(), 4u);
    LockedBits bits;
    ASSERT_EQ(overlay->LockBits({0, 0, 8, 4}, &bits), Status::Ok);
    EXPECT_EQ(bits.scan0[1], 255);
    EXPECT_EQ(bits.scan0[2], 0);
}

}  // namespace

TEST(ImageMetadata, OverlayAndDescriptionFromEachFormat) {
    struct Case {
        const char* file;
        const char* description;
    };
    const Case cases[] = {
        {"meta_png_text.png", "10;20;30;4;80"},
        {"meta_png_ztxt.png", "1;2;3;1;50"},
        {"meta_png_itxt.png", "5;6;7;3;90"},
        {"meta_jpeg.jpg", "10;20;30;4;80"},
        {"meta_tiff.tif", "7;8;9;2;60"},
        {"meta_webp.webp", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto image = Image::FromFile(Fixture(c.file));
        ASSERT_EQ(image->LastStatus(), Status::Ok) << image->LastMessage();
        ExpectOverlayInProfile(*image);
        EXPECT_EQ(Description(*image), c.description);
        const auto ids = image->PropertyIds();
        EXPECT_EQ(ids.size(), image->PropertyCount());
    }
}

TEST(ImageMetadata, ProfileSplitOverSeveralJpegSegmentsIsJoinedInOrder) {
    auto image = Image::FromFile(Fixture("meta_jpeg_multichunk.jpg"));
    ASSERT_EQ(image->LastStatus(), Status::Ok);
    const PropertyItem* item = image->Property(kTagIccProfile);
    ASSERT_NE(item, nullptr);
    ASSERT_GT(item->value.size(), 65519u) << "more than one APP2 segment holds";
    // The tail is bytes 0..255 repeated; a chunk out of order would break it.
    const size_t tail = 256 * 270;
    const uint8_t* t = item->value.data() + item->value.size() - tail;
    for (size_t i = 0; i < tail; ++i) ASSERT_EQ(t[i], i % 256) << "at " << i;
    ExpectOverlayInProfile(*image);
}

TEST(ImageMetadata, FilesWithoutTheItemsHaveNone) {
    for (const char* file : {"png_rgb8.png", "meta_png_other_keyword.png", "jpeg_rgb444.jpg", "gif_palette.gif",
                             "bmp_rgb.bmp"}) {
        SCOPED_TRACE(file);
        auto image = Image::FromFile(Fixture(file));
        ASSERT_EQ(image->LastStatus(), Status::Ok);
        EXPECT_EQ(image->Property(kTagIccProfile), nullptr);
        EXPECT_EQ(image->LastStatus(), Status::PropertyNotFound);
        EXPECT_EQ(image->Property(kTagImageDescription), nullptr);
    }
}

TEST(ImageMetadata, BrokenItemsAreMissingAndTheImageStillDecodes) {
    struct Case {
        const char* file;
        bool hasProfile;
        const char* description;
    };
    const Case cases[] = {
        // iCCP with a cut zlib stream; a Description chunk with a bad CRC
        // comes before the good one.
        {"invalid_meta_cut_icc.png", false, "1;2;3;4;5"},
        // Exif entries pointing past the block and a count that overflows.
        {"invalid_meta_exif_offsets.jpg", false, "<none>"},
        // ICC chunks 1 and 3 of 3.
        {"invalid_meta_icc_gap.jpg", false, "<none>"},
        // A zTXt description that would inflate past the limit.
        {"invalid_meta_zlib_bomb.png", false, "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto image = Image::FromFile(Fixture(c.file));
        ASSERT_EQ(image->LastStatus(), Status::Ok) << image->LastMessage();
        EXPECT_EQ(image->Property(kTagIccProfile) != nullptr, c.hasProfile);
        EXPECT_EQ(Description(*image), c.description);
    }
}
