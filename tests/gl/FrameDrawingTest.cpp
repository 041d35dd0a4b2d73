// Frame drawing on real Mesa, read back: faces upright and unmirrored, the
// top and bottom faces, the seam between the fourth and the first face, yaw
// wrapping and pitch limits, and the overlay's place, size and blending.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "document/CMOrvalenDoc.h"
#include "document/SceneLists.h"
#include "support/GlContext.h"
#include "support/RecordingMessages.h"
#include "support/TestRegistry.h"
#include "view/FrameDrawing.h"

namespace {

constexpr int kW = 800, kH = 600;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << c.r << "," << c.g << "," << c.b; }

// The face colours of the orientation fixture.
constexpr Rgb kFace[6] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(orv::test::EnsureGlContext(kW, kH));
        doc.SetUserMessages(&messages);
        registry.SetDwordSetting("EnableMipmaps", 0);  // crisp quadrant edges at grazing angles
    }
    void TearDown() override {
        doc.ReleaseScene();
        ASSERT_TRUE(messages.shown.empty());
    }
    void Draw(const FrameCamera& camera) {
        glViewport(0, 0, kW, kH);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        DrawFrame(&doc, camera, kW, kH);
        glFinish();
        pixels.resize(kW * kH * 4);
        glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    // x right, y down from the top edge, as on screen.
    Rgb At(int x, int y) const {
        const uint8_t* p = &pixels[(size_t(kH - 1 - y) * kW + x) * 4];
        return {p[0], p[1], p[2]};
    }
    void LoadOrientation() { doc.LoadStripFile(std::string(ORV_FIXTURE_DIR) + "/containers/orientation.orvp"); }

    orv::test::TestRegistry registry;
    orv::test::RecordingMessages messages;
    CMOrvalenDoc doc;
    std::vector<uint8_t> pixels;
};

}  // namespace

TEST_F(Frame, EachFaceIsSeenUprightAndUnmirrored) {
    LoadOrientation();
    // Yaw 0 looks at the fourth face (-z); each further 90 degrees of yaw
    // turns to the face on the right: the first, second and third.
    const int faceAtYaw[] = {3, 0, 1, 2};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k * 90);
        Draw({k * 90.0, 0, 30});
        const Rgb colour = kFace[faceAtYaw[k]];
        EXPECT_EQ(At(10, 10), kWhite) << "top-left quadrant at the top left";
        EXPECT_EQ(At(kW - 10, kH - 10), kBlack) << "bottom-right quadrant at the bottom right";
        EXPECT_EQ(At(kW - 10, 10), colour) << "not mirrored";
        EXPECT_EQ(At(10, kH - 10), colour) << "not upside down";
    }
}

TEST_F(Frame, TopAndBottomFacesAtThePitchLimits) {
    LoadOrientation();
    // Looking up, the top edge of the window sees the zenith: right of it
    // and a little below lies the top face's bottom-left quadrant (its
    // colour), left of it the top-left one (white).
    Draw({0, -60, 30});
    EXPECT_EQ(At(kW / 2 + 200, 80), kFace[4]);
    EXPECT_EQ(At(kW / 2 - 200, 80), kWhite);
    // Looking down, the bottom edge sees the nadir, and the bottom face is
    // seen from above with its top edge toward the first face (+x, right).
    Draw({0, 60, 30});
    EXPECT_EQ(At(kW / 2 - 200, kH - 80), kFace[5]);
    EXPECT_EQ(At(kW / 2 + 200, kH - 80), kWhite);
}

TEST_F(Frame, SeamBetweenTheFourthAndTheFirstFace) {
    LoadOrientation();
    Draw({45, 0, 30});
    // Above the horizon the fourth face shows its right quadrant (its
    // colour) and the first face its left one (white), with nothing between.
    const int y = kH / 2 - 40;
    EXPECT_EQ(At(kW / 2 - 3, y), kFace[3]);
    EXPECT_EQ(At(kW / 2 + 3, y), kWhite);
    for (int x = 0; x < kW; ++x) {
        const Rgb c = At(x, y);
        ASSERT_TRUE(c == kFace[3] || c == kWhite || (x > kW / 2 - 3 && x < kW / 2 + 3)) << x << ": " << c;
    }
}

TEST_F(Frame, YawWrapsAndPitchIsLimited) {
    LoadOrientation();
    struct Case {
        FrameCamera drawn, same;
    };
    const Case cases[] = {
        {{725, 0, 30}, {5, 0, 30}},   {{-30, 0, 30}, {330, 0, 30}}, {{360, 0, 30}, {0, 0, 30}},
        {{10, 75, 30}, {10, 60, 30}}, {{10, -90, 30}, {10, -60, 30}},
    };
    for (const Case& c : cases) {
        Draw(c.drawn);
        const auto first = pixels;
        Draw(c.same);
        EXPECT_TRUE(first == pixels) << c.drawn.yaw << " / " << c.drawn.pitch;
    }
    EXPECT_EQ(DrawnYaw(725), 5);
    EXPECT_EQ(DrawnYaw(-30), 330);
    EXPECT_EQ(DrawnYaw(360), 360);
    EXPECT_EQ(DrawnYaw(720), 360);
    EXPECT_EQ(DrawnYaw(1e300), DrawnYaw(1e300)) << "a huge yaw takes one step, not forever";
    EXPECT_EQ(DrawnYaw(NAN), 0);
    EXPECT_EQ(DrawnPitch(75), 60);
    EXPECT_EQ(DrawnPitch(-90), -60);
}

TEST_F(Frame, OverlayPlacementNumbers) {
    doc.m_overlaySize = 100;
    doc.m_overlayImageWidth = 400;
    doc.m_overlayImageHeight = 200;
    doc.m_overlayPosX = 10;
    doc.m_overlayAnchor = 1;
    OverlayPlacement p = PlaceOverlay(doc, kW, kH);
    EXPECT_NEAR(p.width, 438.178, 0.001);
    EXPECT_NEAR(p.height, 219.089, 0.001);
    EXPECT_NEAR(p.centerX, 240.998, 0.001);
    EXPECT_NEAR(p.centerY, 131.453, 0.001);
    EXPECT_NEAR(p.translateX, -0.39751, 0.00001);
    EXPECT_NEAR(p.translateY, 0.56182, 0.00001);
    EXPECT_NEAR(p.scaleX, 0.547723, 0.000001);
    EXPECT_NEAR(p.scaleY, 0.365148, 0.000001);
    doc.m_overlayAnchor = 4;
    p = PlaceOverlay(doc, kW, kH);
    EXPECT_NEAR(p.centerX, 559.002, 0.001);
    EXPECT_NEAR(p.centerY, 468.547, 0.001);
    EXPECT_NEAR(p.translateX, 0.39751, 0.00001);
    EXPECT_NEAR(p.translateY, -0.56182, 0.00001);
    doc.m_overlayAnchor = 0;
    doc.m_overlayPosY = 50;
    p = PlaceOverlay(doc, kW, kH);
    EXPECT_NEAR(p.centerX, 255.271, 0.001);
    EXPECT_NEAR(p.centerY, 300.0, 0.001);
    EXPECT_NEAR(p.translateX, -0.361822, 0.000001);
    EXPECT_NEAR(p.translateY, 0, 1e-12);
    doc.m_overlayAnchor = 7;  // any other value is placed by percent
    EXPECT_NEAR(PlaceOverlay(doc, kW, kH).centerX, 255.271, 0.001);
}

TEST_F(Frame, OverlayCoversItsPixelsAtEachAnchorAndBlends) {
    // An opaque white 400 x 200 overlay over a document without a cube.
    std::vector<uint8_t> white(400 * 200 * 4, 255);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glGenTextures(1, &doc.m_overlayTexture);
    glBindTexture(GL_TEXTURE_2D, doc.m_overlayTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 400, 200, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, white.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    doc.m_hasOverlay = true;
    doc.m_overlaySize = 100;
    doc.m_overlayImageWidth = 400;
    doc.m_overlayImageHeight = 200;
    doc.m_overlayPosX = 10;
    doc.m_overlayPosY = 50;

    for (int anchor = 0; anchor <= 4; ++anchor) {
        SCOPED_TRACE(anchor);
        doc.m_overlayAnchor = anchor;
        if (doc.m_overlayList) glDeleteLists(doc.m_overlayList, 1);
        doc.m_overlayList = CompileOverlayList(doc.m_overlayTexture, 1.0);
        Draw({});
        int left = kW, right = -1, top = kH, bottom = -1;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                if (At(x, y).r > 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        const OverlayPlacement p = PlaceOverlay(doc, kW, kH);
        EXPECT_NEAR(right - left + 1, p.width, 1.5);
        EXPECT_NEAR(bottom - top + 1, p.height, 1.5);
        EXPECT_NEAR((left + right + 1) / 2.0, p.centerX, 1.0);
        EXPECT_NEAR((top + bottom + 1) / 2.0, p.centerY, 1.0);
    }
    // Half opacity: white over black gives half grey.
    glDeleteLists(doc.m_overlayList, 1);
    doc.m_overlayList = CompileOverlayList(doc.m_overlayTexture, 0.5);
    Draw({});
    const OverlayPlacement p = PlaceOverlay(doc, kW, kH);
    EXPECT_NEAR(At(int(p.centerX), int(p.centerY)).r, 128, 1);
}

TEST_F(Frame, EmptyDocumentAndEmptyWindowDrawNothing) {
    Draw({});
    for (size_t i = 0; i < pixels.size(); i += 4) ASSERT_EQ(pixels[i] + pixels[i + 1] + pixels[i + 2], 0);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    LoadOrientation();
    DrawFrame(&doc, {}, 0, kH);
    DrawFrame(&doc, {}, kW, 0);
    DrawFrame(nullptr, {}, kW, kH);
    std::vector<uint8_t> px(4);
    glReadPixels(kW / 2, kH / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    EXPECT_EQ(px[2], 255) << "the cleared blue is untouched";
}
