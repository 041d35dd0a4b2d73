// Texture upload on real Mesa: a square from the middle of a wide strip
// uploads only that square, a rectangle outside the image makes no texture,
// mipmaps follow the setting read on every call, and texture 0 is bound
// afterwards. Also decoding from memory and releasing the document's scene.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "document/CMOrvalenDoc.h"
#include "document/TextureUpload.h"
#include "support/GlContext.h"
#include "support/TestRegistry.h"

using namespace orv::image;
using orv::test::TestRegistry;

namespace {

std::string Fixture(const std::string& name) { return std::string(ORV_FIXTURE_DIR) + "/images/" + name; }

GLint TexLevelParameter(GLuint texture, GLint level, GLenum name) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint TexParameter(GLuint texture, GLenum name) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

std::vector<uint8_t> TexturePixels(GLuint texture, int w, int h) {
    std::vector<uint8_t> pixels(size_t(w) * h * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

GLint Bound() {
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

class TextureUpload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(orv::test::EnsureGlContext());
        strip = Image::FromFile(Fixture("strip_faces.png"));
        ASSERT_EQ(strip->LastStatus(), Status::Ok);
    }
    TestRegistry registry;
    std::unique_ptr<Image> strip;
};

}  // namespace

TEST_F(TextureUpload, SquareFromTheMiddleOfAStripUploadsOnlyThatSquare) {
    registry.SetDwordSetting("EnableMipmaps", 0);
    for (int face = 0; face < 6; ++face) {
        SCOPED_TRACE(face);
        GLuint texture = 0;
        UploadTexture(*strip, {face * 16, 0, 16, 16}, texture);
        ASSERT_NE(texture, 0u);
        EXPECT_EQ(TexLevelParameter(texture, 0, GL_TEXTURE_WIDTH), 16);
        EXPECT_EQ(TexLevelParameter(texture, 0, GL_TEXTURE_HEIGHT), 16);
        LockedBits bits;
        ASSERT_EQ(strip->LockBits({face * 16, 0, 16, 16}, &bits), Status::Ok);
        const auto pixels = TexturePixels(texture, 16, 16);
        for (int y = 0; y < 16; ++y) {
            ASSERT_EQ(std::memcmp(pixels.data() + y * 64, bits.scan0 + y * bits.stride, 64), 0) << "row " << y;
        }
        strip->UnlockBits(bits);
        // The face's own marker is its top-left texel (t = 0 is the top row).
        EXPECT_EQ(pixels[0], 255);
        EXPECT_EQ(pixels[1], 255);
        EXPECT_EQ(pixels[2], 255);
        glDeleteTextures(1, &texture);
    }
    EXPECT_EQ(Bound(), 0);
    GLint rowLength = 0;
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(rowLength, 96) << "left at the whole strip's width";
}

TEST_F(TextureUpload, RectangleOutsideTheImageMakesNoTexture) {
    GLuint texture = 0;
    UploadTexture(*strip, {90, 0, 16, 16}, texture);
    EXPECT_EQ(texture, 0u);
    EXPECT_EQ(strip->LastStatus(), Status::InvalidParameter);
    GLuint kept = 1234;
    UploadTexture(*strip, {-1, 0, 16, 16}, kept);
    EXPECT_EQ(kept, 1234u) << "the id is left as it was";
    EXPECT_EQ(Bound(), 0);
}

TEST_F(TextureUpload, MipmapsFollowTheSettingOnEveryCall) {
    GLuint withChain = 0;
    UploadTexture(*strip, {16, 0, 16, 16}, withChain);  // setting missing: written as 1
    const std::string hive = registry.UserHiveText();
    EXPECT_NE(hive.find("\"EnableMipmaps\"=dword:00000001"), std::string::npos) << hive;
    EXPECT_EQ(TexParameter(withChain, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(TexParameter(withChain, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(withChain, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TexParameter(withChain, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TexLevelParameter(withChain, 4, GL_TEXTURE_WIDTH), 1) << "the chain goes down to 1 x 1";

    registry.SetDwordSetting("EnableMipmaps", 0);  // changed while running
    GLuint single = 0;
    UploadTexture(*strip, {16, 0, 16, 16}, single);
    EXPECT_EQ(TexParameter(single, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TexLevelParameter(single, 1, GL_TEXTURE_WIDTH), 0) << "one level only";

    // Any value but 0 is on, even a text "1" read as 49.
    registry.SetSetting("EnableMipmaps", orv::reg::kString, {0x31, 0, 0, 0});
    GLuint again = 0;
    UploadTexture(*strip, {16, 0, 16, 16}, again);
    EXPECT_EQ(TexParameter(again, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    GLuint all[] = {withChain, single, again};
    glDeleteTextures(3, all);
    EXPECT_EQ(Bound(), 0);
}

TEST_F(TextureUpload, LoadImageFromMemoryDecodesInPlace) {
    const uint8_t junk[] = {1, 2, 3};
    EXPECT_EQ(LoadImageFromMemory(nullptr, 5), nullptr);
    EXPECT_EQ(LoadImageFromMemory(junk, 0), nullptr);
    auto bad = LoadImageFromMemory(junk, sizeof junk);
    ASSERT_NE(bad, nullptr);
    EXPECT_NE(bad->LastStatus(), Status::Ok);
    const auto bytes = orv::test::ReadBytes(Fixture("strip_faces.png"));
    auto good = LoadImageFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->LastStatus(), Status::Ok);
    EXPECT_EQ(good->Width(), 96u);
}

TEST_F(TextureUpload, ReleaseSceneDeletesEveryObjectOnce) {
    CMOrvalenDoc doc;
    for (int i = 0; i < 6; ++i) UploadTexture(*strip, {i * 16, 0, 16, 16}, doc.m_faceTexture[i]);
    UploadTexture(*strip, {0, 0, 16, 16}, doc.m_overlayTexture);
    doc.m_cubeList = glGenLists(1);
    glNewList(doc.m_cubeList, GL_COMPILE);
    glEndList();
    doc.m_overlayList = glGenLists(1);
    glNewList(doc.m_overlayList, GL_COMPILE);
    glEndList();
    doc.m_hasOverlay = true;
    doc.m_overlaySize = 30;
    const GLuint cube = doc.m_cubeList, overlay = doc.m_overlayList;
    GLuint textures[7];
    std::copy(doc.m_faceTexture, doc.m_faceTexture + 6, textures);
    textures[6] = doc.m_overlayTexture;

    doc.ReleaseScene();
    EXPECT_FALSE(glIsList(cube));
    EXPECT_FALSE(glIsList(overlay));
    for (GLuint t : textures) EXPECT_FALSE(glIsTexture(t)) << t;
    EXPECT_EQ(doc.m_cubeList, 0u);
    EXPECT_EQ(doc.m_overlayList, 0u);
    EXPECT_EQ(doc.m_overlayTexture, 0u);
    for (GLuint t : doc.m_faceTexture) EXPECT_EQ(t, 0u);
    EXPECT_TRUE(doc.m_hasOverlay) << "the flag and placement stay";
    EXPECT_EQ(doc.m_overlaySize, 30);
    doc.ReleaseScene();  // nothing left: deletes nothing
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
