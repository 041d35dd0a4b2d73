// Decoding real files written by an independent tool: every PNG colour type
// and depth, interlaced PNG, baseline, progressive, grey and CMYK JPEG, TIFF,
// GIF, BMP and WebP; JPEG at reduced scale; broken files fail with a status
// and never crash.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/image/Image.h"
#include "support/TempDir.h"

using namespace orv::image;

namespace {

std::string Fixture(const std::string& name) { return std::string(ORV_FIXTURE_DIR) + "/images/" + name; }

struct Bgra {
    int b, g, r, a;
};

Bgra PixelAt(Image& image, int x, int y) {
    LockedBits bits;
    EXPECT_EQ(image.LockBits({x, y, 1, 1}, &bits), Status::Ok);
    const uint8_t* p = bits.scan0;
    Bgra px{p[0], p[1], p[2], p[3]};
    image.UnlockBits(bits);
    return px;
}

void ExpectNear(Bgra got, Bgra want, int tolerance, const char* where) {
    EXPECT_NEAR(got.b, want.b, tolerance) << where << " blue";
    EXPECT_NEAR(got.g, want.g, tolerance) << where << " green";
    EXPECT_NEAR(got.r, want.r, tolerance) << where << " red";
    EXPECT_EQ(got.a, want.a) << where << " alpha";
}

// The fixtures' left block is (200, 30, 40), the right (20, 60, 220), as RGB.
constexpr Bgra kLeft{40, 30, 200, 255}, kRight{220, 60, 20, 255};

struct DecodeCase {
    const char* file;
    Bgra left, right;
    int tolerance;
};

const DecodeCase kDecodeCases[] = {
    {"png_rgb8.png", kLeft, kRight, 0},
    {"png_rgba8.png", kLeft, {220, 60, 20, 128}, 0},
    {"png_rgb16.png", kLeft, kRight, 0},
    {"png_rgba16.png", kLeft, {220, 60, 20, 128}, 0},
    {"png_gray8.png", {50, 50, 50, 255}, {200, 200, 200, 255}, 0},
    {"png_graya8.png", {50, 50, 50, 255}, {200, 200, 200, 64}, 0},
    {"png_gray16.png", {50, 50, 50, 255}, {200, 200, 200, 255}, 0},
    // 4-bit grey: the writer rounds to a neighbouring step of 17.
    {"png_gray4.png", {51, 51, 51, 255}, {204, 204, 204, 255}, 17},
    {"png_gray1.png", {0, 0, 0, 255}, {255, 255, 255, 255}, 0},
    {"png_palette.png", kLeft, kRight, 0},
    {"png_palette_trns.png", kLeft, {220, 60, 20, 0}, 0},
    {"png_interlaced.png", kLeft, kRight, 0},
    {"jpeg_rgb444.jpg", kLeft, kRight, 6},
    {"jpeg_rgb420.jpg", kLeft, kRight, 6},
    {"jpeg_gray.jpg", {50, 50, 50, 255}, {200, 200, 200, 255}, 3},
    {"jpeg_progressive.jpg", kLeft, kRight, 6},
    {"jpeg_cmyk.jpg", kLeft, kRight, 8},
    {"tiff_rgb.tif", kLeft, kRight, 0},
    {"tiff_rgba.tif", kLeft, {220, 60, 20, 128}, 2},
    {"bmp_rgb.bmp", kLeft, kRight, 0},
    {"gif_palette.gif", kLeft, kRight, 0},
    {"webp_lossless.webp", kLeft, kRight, 0},
};

}  // namespace

TEST(ImageDecode, RealFilesOfEveryFormatGiveBgraPixels) {
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(c.file);
        auto image = Image::FromFile(Fixture(c.file));
        ASSERT_EQ(image->LastStatus(), Status::Ok) << image->LastMessage();
        EXPECT_EQ(image->Width(), 32u);
        EXPECT_EQ(image->Height(), 16u);
        ExpectNear(PixelAt(*image, 8, 8), c.left, c.tolerance, "left");
        ExpectNear(PixelAt(*image, 24, 8), c.right, c.tolerance, "right");
        // The same bytes from memory give the same pixels.
        const auto bytes = orv::test::ReadBytes(Fixture(c.file));
        auto fromMemory = Image::FromMemory(bytes.data(), bytes.size());
        ASSERT_EQ(fromMemory->LastStatus(), Status::Ok);
        LockedBits a, b;
        ASSERT_EQ(image->LockBits({0, 0, 32, 16}, &a), Status::Ok);
        ASSERT_EQ(fromMemory->LockBits({0, 0, 32, 16}, &b), Status::Ok);
        EXPECT_EQ(std::memcmp(a.scan0, b.scan0, 32 * 16 * 4), 0);
    }
}

TEST(ImageDecode, MemoryIsNotKeptAfterDecoding) {
    auto bytes = orv::test::ReadBytes(Fixture("png_rgb8.png"));
    auto image = Image::FromMemory(bytes.data(), bytes.size());
    std::fill(bytes.begin(), bytes.end(), 0);
    bytes.clear();
    bytes.shrink_to_fit();
    ExpectNear(PixelAt(*image, 24, 8), kRight, 0, "after the bytes are gone");
}

TEST(ImageDecode, BrokenFilesFailWithAStatus) {
    struct Case {
        std::string path;
        Status status;
    };
    orv::test::TempDir dir;
    const Case cases[] = {
        {Fixture("invalid_empty.png"), Status::UnknownFormat},
        {Fixture("invalid_bad_magic.png"), Status::UnknownFormat},
        {Fixture("invalid_not_an_image.txt"), Status::UnknownFormat},
        {Fixture("invalid_truncated.png"), Status::CorruptData},
        {Fixture("invalid_truncated.jpg"), Status::CorruptData},
        {Fixture("invalid_header_only.jpg"), Status::CorruptData},
        {Fixture("invalid_huge_size.png"), Status::TooLarge},
        {Fixture("invalid_huge_size.jpg"), Status::TooLarge},
        // A 2 KB TIFF that claims an image of hundreds of megabytes.
        {std::string(ORV_SOURCE_DIR) + "/fuzz/regressions/imagedecode/tiff_tiny_file_huge_image", Status::TooLarge},
        {dir / "missing.png", Status::FileNotFound},
        {dir.Path().string(), Status::AccessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto image = Image::FromFile(c.path);
        EXPECT_EQ(image->LastStatus(), c.status) << image->LastMessage();
        EXPECT_FALSE(image->LastMessage().empty());
        EXPECT_EQ(image->Width(), 0u);
        LockedBits bits;
        EXPECT_NE(image->LockBits({0, 0, 1, 1}, &bits), Status::Ok);
    }
}

TEST(ImageDecode, EveryPrefixOfAFileFailsOrDecodes) {
    for (const char* name : {"png_interlaced.png", "jpeg_progressive.jpg", "tiff_rgb.tif", "gif_palette.gif",
                             "webp_lossless.webp", "bmp_rgb.bmp", "meta_png_text.png", "meta_jpeg.jpg"}) {
        SCOPED_TRACE(name);
        const auto bytes = orv::test::ReadBytes(Fixture(name));
        int decoded = 0;
        for (size_t n = 0; n < bytes.size(); ++n) {
            // A copy of exactly n bytes, so that a read past its end is caught
            // by the address sanitizer build.
            std::unique_ptr<uint8_t[]> prefix(new uint8_t[n ? n : 1]);
            std::memcpy(prefix.get(), bytes.data(), n);
            auto image = Image::FromMemory(prefix.get(), n);
            if (image->LastStatus() == Status::Ok) {
                ++decoded;
                EXPECT_EQ(image->Width(), 32u);
            }
        }
        EXPECT_LT(decoded, static_cast<int>(bytes.size()) / 2) << "most prefixes are broken files";
    }
}

// At 1/8 a progressive file is read only as far as its DC coefficients: every
// prefix that holds the first scan decodes, every one that cuts it fails.
TEST(ImageDecode, EveryPrefixOfAProgressiveFileDecodesAtOneEighthOnceItHoldsTheDc) {
    DecodeOptions eighth;
    eighth.minHeight = 8;
    const auto bytes = orv::test::ReadBytes(Fixture("jpeg_wide_progressive.jpg"));
    const size_t dcEnd = orv::test::ReadBytes(Fixture("jpeg_wide_progressive_dc_only.jpg")).size();
    const size_t insideDc = orv::test::ReadBytes(Fixture("invalid_wide_progressive_cut_in_dc.jpg")).size();
    for (size_t n = 0; n <= bytes.size(); ++n) {
        std::unique_ptr<uint8_t[]> prefix(new uint8_t[n ? n : 1]);
        std::memcpy(prefix.get(), bytes.data(), n);
        auto image = Image::FromMemory(prefix.get(), n, eighth);
        if (n >= dcEnd) {
            EXPECT_EQ(image->LastStatus(), Status::Ok) << n << " bytes: " << image->LastMessage();
            EXPECT_EQ(image->Width(), 16u) << n << " bytes";
        } else if (n <= insideDc) {
            EXPECT_NE(image->LastStatus(), Status::Ok) << n << " bytes";
        }
    }
}

TEST(ImageDecode, JpegDecodesAtTheSmallestScaleThatKeepsTheAskedHeight) {
    struct Case {
        uint32_t minHeight;
        uint32_t width, height;
    };
    // 128 x 64: 1/8 is 16 x 8, 1/4 is 32 x 16, 1/2 is 64 x 32; what is still
    // twice the height asked for or more is then reduced by a whole factor.
    const Case cases[] = {{0, 128, 64},  {1, 2, 1},    {3, 8, 4},     {8, 16, 8},     {9, 32, 16},
                          {16, 32, 16}, {17, 64, 32}, {32, 64, 32}, {33, 128, 64}, {1000, 128, 64}};
    for (const char* name : {"jpeg_wide_baseline.jpg", "jpeg_wide_progressive.jpg"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(name) + " at least " + std::to_string(c.minHeight) + " rows");
            DecodeOptions options;
            options.minHeight = c.minHeight;
            auto image = Image::FromFile(Fixture(name), options);
            ASSERT_EQ(image->LastStatus(), Status::Ok) << image->LastMessage();
            EXPECT_EQ(image->Width(), c.width);
            EXPECT_EQ(image->Height(), c.height);
            ExpectNear(PixelAt(*image, c.width / 4, c.height / 2), kLeft, 6, "left");
            ExpectNear(PixelAt(*image, c.width * 3 / 4, c.height / 2), kRight, 6, "right");
        }
    }
}

// At 1/8 a progressive file is read only as far as its DC coefficients: a
// file cut after that first scan still gives the reduced picture (though not
// the full one), and one cut inside it fails at every scale.
TEST(ImageDecode, ReducedProgressiveJpegNeedsOnlyItsDcScan) {
    DecodeOptions eighth;
    eighth.minHeight = 8;
    auto dcOnly = Image::FromFile(Fixture("jpeg_wide_progressive_dc_only.jpg"), eighth);
    ASSERT_EQ(dcOnly->LastStatus(), Status::Ok) << dcOnly->LastMessage();
    ASSERT_EQ(dcOnly->Width(), 16u);
    ExpectNear(PixelAt(*dcOnly, 4, 4), kLeft, 6, "left");
    ExpectNear(PixelAt(*dcOnly, 12, 4), kRight, 6, "right");
    // The same pixels as from the whole file.
    auto whole = Image::FromFile(Fixture("jpeg_wide_progressive.jpg"), eighth);
    LockedBits a, b;
    ASSERT_EQ(dcOnly->LockBits({0, 0, 16, 8}, &a), Status::Ok);
    ASSERT_EQ(whole->LockBits({0, 0, 16, 8}, &b), Status::Ok);
    EXPECT_EQ(std::memcmp(a.scan0, b.scan0, 16 * 8 * 4), 0);

    DecodeOptions quarter;
    quarter.minHeight = 16;
    for (const DecodeOptions& options : {DecodeOptions{}, quarter}) {
        auto image = Image::FromFile(Fixture("jpeg_wide_progressive_dc_only.jpg"), options);
        EXPECT_EQ(image->LastStatus(), Status::CorruptData) << "at least " << options.minHeight << " rows";
    }
    for (const DecodeOptions& options : {DecodeOptions{}, quarter, eighth}) {
        auto image = Image::FromFile(Fixture("invalid_wide_progressive_cut_in_dc.jpg"), options);
        EXPECT_EQ(image->LastStatus(), Status::CorruptData) << "at least " << options.minHeight << " rows";
    }
}

// Formats without a reduced decode give what reducing their full image gives,
// to the byte: a non-interlaced PNG reduced row by row while it decodes, the
// others (an interlaced PNG among them) after. The metadata stays.
TEST(ImageDecode, ReducedDecodeEqualsTheReducedFullImage) {
    struct Case {
        const char* file;
        uint32_t minHeight;
        uint32_t factor;
    };
    const Case cases[] = {
        {"png_noise_35x19.png", 9, 2},  {"png_noise_35x19.png", 6, 3},   {"png_noise_35x19.png", 1, 19},
        {"png_noise_35x19_interlaced.png", 6, 3}, {"png_rgb16.png", 8, 2}, {"png_palette_trns.png", 5, 3},
        {"png_gray1.png", 4, 4},        {"meta_png_text.png", 8, 2},     {"tiff_rgba.tif", 8, 2},
        {"gif_palette.gif", 8, 2},      {"bmp_rgb.bmp", 8, 2},           {"webp_lossless.webp", 8, 2},
        // Not reduced: below twice the height asked for, or none asked for.
        {"png_noise_35x19.png", 10, 1}, {"strip_faces.png", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " at least " + std::to_string(c.minHeight) + " rows");
        auto full = Image::FromFile(Fixture(c.file));
        DecodeOptions options;
        options.minHeight = c.minHeight;
        auto reduced = Image::FromFile(Fixture(c.file), options);
        ASSERT_EQ(reduced->LastStatus(), Status::Ok) << reduced->LastMessage();
        auto want = c.factor > 1 ? full->Reduced(c.factor) : Image::FromFile(Fixture(c.file));
        ASSERT_TRUE(want);
        ASSERT_EQ(reduced->Width(), want->Width());
        ASSERT_EQ(reduced->Height(), want->Height());
        ASSERT_EQ(reduced->Height(), full->Height() / c.factor);
        const auto w = static_cast<int32_t>(want->Width()), h = static_cast<int32_t>(want->Height());
        LockedBits a, b;
        ASSERT_EQ(reduced->LockBits({0, 0, w, h}, &a), Status::Ok);
        ASSERT_EQ(want->LockBits({0, 0, w, h}, &b), Status::Ok);
        for (int32_t y = 0; y < h; ++y) {
            EXPECT_EQ(std::memcmp(a.scan0 + y * a.stride, b.scan0 + y * b.stride, size_t(w) * 4), 0) << "row " << y;
        }
        EXPECT_EQ(reduced->PropertyIds(), full->PropertyIds());
    }
}

// Each box is the truncated mean of its pixels; the last columns and rows
// that make no whole box are left out.
TEST(ImageDecode, ReducedAveragesWholeBoxes) {
    auto full = Image::FromFile(Fixture("png_noise_35x19.png"));
    auto reduced = full->Reduced(4);
    ASSERT_TRUE(reduced);
    ASSERT_EQ(reduced->Width(), 8u);
    ASSERT_EQ(reduced->Height(), 4u);
    LockedBits src, dst;
    ASSERT_EQ(full->LockBits({0, 0, 35, 19}, &src), Status::Ok);
    ASSERT_EQ(reduced->LockBits({0, 0, 8, 4}, &dst), Status::Ok);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            for (int ch = 0; ch < 4; ++ch) {
                int sum = 0;
                for (int dy = 0; dy < 4; ++dy)
                    for (int dx = 0; dx < 4; ++dx) sum += src.scan0[(y * 4 + dy) * src.stride + (x * 4 + dx) * 4 + ch];
                EXPECT_EQ(dst.scan0[y * dst.stride + x * 4 + ch], sum / 16) << x << "," << y << " channel " << ch;
            }
        }
    }
    EXPECT_FALSE(full->Reduced(1));
    EXPECT_FALSE(full->Reduced(36)) << "no whole box";
}

TEST(ImageLock, OnlyRectanglesWhollyInsideCanBeLocked) {
    auto image = Image::FromFile(Fixture("png_rgb8.png"));
    const Rect outside[] = {{-1, 0, 1, 1}, {0, -1, 1, 1}, {0, 0, 33, 1}, {31, 0, 2, 1}, {0, 15, 1, 2},
                            {0, 0, 0, 1},  {0, 0, 1, 0},  {0, 0, -1, 1}, {INT_MAX, 0, 2, 1}, {1, 1, INT_MAX, 1}};
    for (const Rect& r : outside) {
        LockedBits bits;
        EXPECT_EQ(image->LockBits(r, &bits), Status::InvalidParameter) << r.x << "," << r.y << " " << r.width;
        EXPECT_EQ(image->LastStatus(), Status::InvalidParameter);
    }
    LockedBits bits;
    ASSERT_EQ(image->LockBits({16, 2, 16, 14}, &bits), Status::Ok);
    EXPECT_EQ(bits.width, 16u);
    EXPECT_EQ(bits.height, 14u);
    EXPECT_EQ(bits.stride, 32 * 4) << "the whole image's row";
    EXPECT_EQ(bits.scan0[0], kRight.b);
    EXPECT_EQ(image->UnlockBits(bits), Status::Ok);
    EXPECT_EQ(image->UnlockBits(bits), Status::NotLocked);
}
