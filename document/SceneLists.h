// The display lists of the scene, compiled in one place so that both loaders
// make the same cube and both overlay sources the same quad.
#pragma once

#include <GL/gl.h>

// The cube around the eye: six textured quads, faces in strip order
// +x, +z, -x, -z, top, bottom (the textures of faceTexture[0..5]). The list
// leaves texturing off, texture 0 bound and the colour opaque white.
GLuint CompileCubeList(const GLuint faceTexture[6]);

// One textured quad from -1 to +1 in x and y at z = 0, the image upright,
// blended with its own alpha times alpha. Leaves blending and texturing off
// and texture 0 bound.
GLuint CompileOverlayList(GLuint texture, double alpha);
