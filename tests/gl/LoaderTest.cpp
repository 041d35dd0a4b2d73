// The two loaders on real Mesa: faces, the cube list, the overlay from
// metadata and from the container record, the failure message, a second load
// deleting the first one's objects, and the same picture as .orvp and .orvp2
// drawing identical pixels.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "document/CMOrvalenDoc.h"
#include "support/GlContext.h"
#include "support/RecordingMessages.h"
#include "support/TestRegistry.h"
#include "view/FrameDrawing.h"

using orv::test::RecordingMessages;
using orv::test::TestRegistry;

namespace {

constexpr int kW = 160, kH = 120;

std::string Container(const std::string& name) { return std::string(ORV_FIXTURE_DIR) + "/containers/" + name; }
std::string Sample(const std::string& name) { return std::string(ORV_SOURCE_DIR) + "/sample/" + name; }

std::string LoadFailure(const std::string& path) { return "Das Panorama\n" + path + "\nkonnte nicht geladen werden!"; }

class Loader : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(orv::test::EnsureGlContext(kW, kH));
        doc.SetUserMessages(&messages);
    }
    void TearDown() override { doc.ReleaseScene(); }

    std::vector<uint8_t> Draw(const FrameCamera& camera) {
        glViewport(0, 0, kW, kH);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        DrawFrame(&doc, camera, kW, kH);
        glFinish();
        std::vector<uint8_t> pixels(kW * kH * 4);
        glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    TestRegistry registry;
    RecordingMessages messages;
    CMOrvalenDoc doc;
};

}  // namespace

TEST_F(Loader, StripFileWithOverlayInItsMetadata) {
    doc.LoadStripFile(Sample("sample.orvp"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(glIsList(doc.m_cubeList));
    for (GLuint t : doc.m_faceTexture) EXPECT_TRUE(glIsTexture(t));
    ASSERT_TRUE(doc.m_hasOverlay);
    EXPECT_TRUE(glIsList(doc.m_overlayList));
    EXPECT_TRUE(glIsTexture(doc.m_overlayTexture));
    EXPECT_EQ(doc.m_overlayPosX, 3);
    EXPECT_EQ(doc.m_overlayPosY, 0);
    EXPECT_EQ(doc.m_overlaySize, 25);
    EXPECT_EQ(doc.m_overlayAnchor, 4);
    EXPECT_EQ(doc.m_overlayOpacity, 85);
    EXPECT_EQ(doc.m_overlayImageWidth, 480);
    EXPECT_EQ(doc.m_overlayImageHeight, 160);
}

TEST_F(Loader, MetadataItemsInEachCombination) {
    struct Case {
        const char* file;
        bool overlay;
    };
    const Case cases[] = {
        {"both_items.orvp", true},
        {"description_only.orvp", false},
        {"profile_only.orvp", false},
        {"real_profile.orvp", false},  // a genuine colour profile is no image
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        doc.m_hasOverlay = !c.overlay;
        doc.LoadStripFile(Container(c.file));
        EXPECT_EQ(doc.m_hasOverlay, c.overlay);
        EXPECT_EQ(doc.m_overlayList != 0, c.overlay);
        EXPECT_NE(doc.m_cubeList, 0u);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Loader, FacesFollowTheImageHeight) {
    doc.LoadStripFile(Container("five_faces.orvp"));
    for (int i = 0; i < 5; ++i) EXPECT_NE(doc.m_faceTexture[i], 0u) << i;
    EXPECT_EQ(doc.m_faceTexture[5], 0u) << "the missing bottom face shows white";
    EXPECT_NE(doc.m_cubeList, 0u);
    doc.LoadContainerPanorama(Container("five_faces.orvp2"));
    EXPECT_EQ(doc.m_faceTexture[5], 0u);
    EXPECT_TRUE(messages.shown.empty());

    doc.LoadStripFile(Container("twelve_faces.orvp"));  // only its left half is used
    for (GLuint t : doc.m_faceTexture) EXPECT_NE(t, 0u);
    glBindTexture(GL_TEXTURE_2D, doc.m_faceTexture[5]);
    uint8_t texel[4];
    std::vector<uint8_t> level(16 * 16 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, level.data());
    std::copy(level.begin(), level.begin() + 4, texel);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(texel[0], 255);  // face 5 is magenta, not the black of face 6
    EXPECT_EQ(texel[1], 0);
    EXPECT_EQ(texel[2], 255);
}

TEST_F(Loader, ContainerOverlayPlacementIsCopiedExactly) {
    doc.LoadContainerPanorama(Container("with_overlay.orvp2"));
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_TRUE(doc.m_hasOverlay);
    EXPECT_EQ(doc.m_overlayPosX, 12.5);
    EXPECT_EQ(doc.m_overlayPosY, 7.25);
    EXPECT_EQ(doc.m_overlaySize, 30);
    EXPECT_EQ(doc.m_overlayOpacity, 50);
    EXPECT_EQ(doc.m_overlayAnchor, 7) << "copied as it is; drawn as anchor 0";
    EXPECT_EQ(doc.m_overlayImageWidth, 40);
    EXPECT_EQ(doc.m_overlayImageHeight, 20);
    for (GLuint t : doc.m_faceTexture) EXPECT_TRUE(glIsTexture(t));
}

TEST_F(Loader, ContainerCases) {
    struct Case {
        const char* file;
        bool loads;
        bool overlay;
    };
    const Case cases[] = {
        {"minimal.orvp2", true, false},           {"skip_255.orvp2", true, true},
        {"trailing_bytes.orvp2", true, false},    {"overlay_not_an_image.orvp2", true, false},
        {"huge_length.orvp2", true, false},       {"empty_image.orvp2", false, false},
        {"image_not_an_image.orvp2", false, false}, {"empty.orvp2", false, false},
        {"header_only.orvp2", false, false},      {"missing.orvp2", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        messages.shown.clear();
        doc.m_hasOverlay = false;
        doc.LoadContainerPanorama(Container(c.file));
        EXPECT_EQ(doc.m_cubeList != 0, c.loads);
        EXPECT_EQ(doc.m_hasOverlay, c.overlay);
        if (c.loads) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0], LoadFailure(Container(c.file)));
        }
    }
}

TEST_F(Loader, EveryPrefixOfAContainerLoadsOrFailsWithTheMessage) {
    const auto bytes = orv::test::ReadBytes(Container("with_overlay.orvp2"));
    orv::test::TempDir dir;
    const std::string path = dir / "prefix.orvp2";
    // Every offset up to the image payload, then a stride through it: the
    // payload's prefixes are the decoder's, tested with the decoder.
    for (size_t n = 0; n <= bytes.size(); n += (n < 6700 ? 1 : 7)) {
        orv::test::WriteFile(path, std::string(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n)));
        messages.shown.clear();
        doc.LoadContainerPanorama(path);
        if (doc.m_cubeList == 0) {
            ASSERT_EQ(messages.shown.size(), 1u) << n;
        } else {
            ASSERT_TRUE(messages.shown.empty()) << n;
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Loader, FailedStripShowsTheMessageWithThePath) {
    for (const std::string& path : {Container("not_an_image.orvp"), Container("missing.orvp")}) {
        messages.shown.clear();
        doc.LoadStripFile(path);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0], LoadFailure(path));
        EXPECT_EQ(doc.m_cubeList, 0u);
    }
}

TEST_F(Loader, SecondLoadDeletesTheFirstAndAFailureKeepsTheOverlayFlag) {
    doc.LoadStripFile(Sample("sample.orvp"));
    const GLuint cube = doc.m_cubeList, overlayList = doc.m_overlayList, overlayTexture = doc.m_overlayTexture;
    std::vector<GLuint> faces(doc.m_faceTexture, doc.m_faceTexture + 6);
    doc.LoadContainerPanorama(Container("minimal.orvp2"));  // no overlay
    EXPECT_FALSE(doc.m_hasOverlay);
    // The old names may be generated again, so look at what is there now.
    for (GLuint t : faces) {
        const bool reused = std::find(doc.m_faceTexture, doc.m_faceTexture + 6, t) != doc.m_faceTexture + 6;
        EXPECT_TRUE(reused || !glIsTexture(t)) << t;
    }
    EXPECT_TRUE(cube == doc.m_cubeList || !glIsList(cube));
    EXPECT_FALSE(glIsList(overlayList) && overlayList != doc.m_cubeList);
    EXPECT_FALSE(glIsTexture(overlayTexture) &&
                 std::find(doc.m_faceTexture, doc.m_faceTexture + 6, overlayTexture) == doc.m_faceTexture + 6);

    // However often a panorama is loaded, only one scene's objects live.
    for (int i = 0; i < 5; ++i) doc.LoadStripFile(Sample("sample.orvp"));
    int textures = 0, lists = 0;
    for (GLuint name = 1; name < 500; ++name) {
        textures += glIsTexture(name);
        lists += glIsList(name);
    }
    EXPECT_EQ(textures, 7) << "six faces and the overlay";
    EXPECT_EQ(lists, 2) << "the cube and the overlay";
    ASSERT_TRUE(doc.m_hasOverlay);
    doc.LoadStripFile(Container("not_an_image.orvp"));
    EXPECT_TRUE(doc.m_hasOverlay) << "the flag keeps its value";
    EXPECT_EQ(doc.m_overlayList, 0u);
    EXPECT_EQ(doc.m_cubeList, 0u);
    // Nothing of an overlay is drawn: the frame is the cleared black.
    const auto pixels = Draw({});
    for (size_t i = 0; i < pixels.size(); i += 4) ASSERT_EQ(pixels[i] + pixels[i + 1] + pixels[i + 2], 0);
}

TEST_F(Loader, SamePictureAsStripAndContainerDrawsIdentically) {
    const FrameCamera cameras[] = {{0, 0, 30}, {37, 12, 25}, {200, -55, 45}, {-90, 60, 10}};
    std::vector<std::vector<uint8_t>> strip, container;
    doc.LoadStripFile(Sample("sample-jpeg.orvp"));
    for (const FrameCamera& c : cameras) strip.push_back(Draw(c));
    doc.LoadContainerPanorama(Sample("sample.orvp2"));
    for (const FrameCamera& c : cameras) container.push_back(Draw(c));
    EXPECT_TRUE(messages.shown.empty());
    for (size_t i = 0; i < strip.size(); ++i) EXPECT_TRUE(strip[i] == container[i]) << "camera " << i;
    // And something was drawn: the overlay's corner is not the cube's colour.
    EXPECT_NE(strip[0], std::vector<uint8_t>(strip[0].size(), 0));
}

TEST_F(Loader, PanoramaFilesAreNeverWritten) {
    for (const std::string& path : {Sample("sample.orvp"), Sample("sample.orvp2")}) {
        struct stat before {}, after {};
        ASSERT_EQ(stat(path.c_str(), &before), 0);
        const std::string content = orv::test::ReadFile(path);
        doc.LoadPanorama(path);
        ASSERT_EQ(stat(path.c_str(), &after), 0);
        EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
        EXPECT_EQ(before.st_size, after.st_size);
        EXPECT_EQ(orv::test::ReadFile(path), content);
    }
}
