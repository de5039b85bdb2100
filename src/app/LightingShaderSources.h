#pragma once

// GLSL texts (version 1.10) of the per-pixel lighting program the maze is
// drawn with when OpenGL 2.0 is present. Attach the vertex text, then the
// fragment texts in the order listed, then link: the combining main function
// calls one function per light, each in its own fragment shader object.
//
// Per pixel: global ambient * material ambient + emission + the terms of
// GL_LIGHT0, GL_LIGHT1 and GL_LIGHT4, read from the built-in light, material
// and light-model state (front material). A light adds nothing, not even its
// ambient term, where the face is turned away from it. No texture is sampled.
extern const char* const lightVertexShaderSource;
extern const char* const lightShaderSource;
extern const char* const l0ShaderSource;
extern const char* const l1ShaderSource;
extern const char* const l4ShaderSource;

// The same light functions without the specular term: linked in place of the
// three above they give the matte variant, which draws exactly the same
// colours for a material whose specular colour is black, at about two thirds
// of the cost per pixel.
extern const char* const l0MatteShaderSource;
extern const char* const l1MatteShaderSource;
extern const char* const l4MatteShaderSource;

class SgShader;

// A linked program from the texts above: the full lighting, or with matte
// the variant without the specular term.
SgShader* newLightingShader(const char* name, bool matte);
