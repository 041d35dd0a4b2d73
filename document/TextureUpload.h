// The two helpers every loader uses: a rectangle of a decoded image to an
// OpenGL texture, and decoding an encoded image held in memory. Both need the
// view's rendering context current.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/image/Image.h"

// Uploads rect of image as a new 2D texture into textureId: BGRA pixels,
// linear filtering, edges clamped, a full mipmap chain when the EnableMipmaps
// preference (read afresh on every call) is not 0. When the rectangle cannot
// be locked, textureId is left as it was and the image records the status.
// Texture 0 is bound afterwards; the unpack row length stays set.
void UploadTexture(orv::image::Image& image, const orv::image::Rect& rect, GLuint& textureId);

// The same with the mipmap choice given instead of read from the settings.
void UploadTextureWithMipmaps(orv::image::Image& image, const orv::image::Rect& rect, GLuint& textureId,
                              bool mipmaps);

// Decodes count bytes of an encoded image file. Null when bytes is null or
// count is 0; otherwise an image whose status tells whether decoding worked.
// The bytes are decoded where they lie: no copy is made.
std::unique_ptr<orv::image::Image> LoadImageFromMemory(const uint8_t* bytes, size_t count,
                                                       const orv::image::DecodeOptions& options = {});
