#include "TextureUpload.h"

#include <GL/glu.h>

#include "settings/CMSettingsStore.h"

void UploadTexture(orv::image::Image& image, const orv::image::Rect& rect, GLuint& textureId) {
    UploadTextureWithMipmaps(image, rect, textureId, CMSettingsStore().GetDword("EnableMipmaps", 1) != 0);
}

void UploadTextureWithMipmaps(orv::image::Image& image, const orv::image::Rect& rect, GLuint& textureId,
                              bool mipmaps) {
    orv::image::LockedBits bits;
    if (image.LockBits(rect, &bits) != orv::image::Status::Ok) return;

    // The locked rectangle lies inside the whole image's rows.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, bits.stride / 4);
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    const auto width = static_cast<GLsizei>(bits.width);
    const auto height = static_cast<GLsizei>(bits.height);
    if (mipmaps) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, bits.scan0);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, bits.scan0);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    image.UnlockBits(bits);
}

std::unique_ptr<orv::image::Image> LoadImageFromMemory(const uint8_t* bytes, size_t count,
                                                       const orv::image::DecodeOptions& options) {
    if (!bytes || count == 0) return nullptr;
    return orv::image::Image::FromMemory(bytes, count, options);
}
