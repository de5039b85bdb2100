#include "app/LightingShaderSources.h"

#include "sg/SgShader.h"

// Plain constant initialisation: the texts exist before any static
// constructor runs.

const char* const lightVertexShaderSource =
    "#version 110\n"
    "varying vec3 normal;\n"
    "varying vec4 ecPos;\n"
    "void main()\n"
    "{\n"
    "    normal = normalize(gl_NormalMatrix * gl_Normal);\n"
    "    ecPos = gl_ModelViewMatrix * gl_Vertex;\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "    gl_Position = ftransform();\n"
    "}\n";

const char* const lightShaderSource =
    "#version 110\n"
    "vec4 light0();\n"
    "vec4 light1();\n"
    "vec4 light4();\n"
    "void main()\n"
    "{\n"
    "    gl_FragColor = gl_LightModel.ambient * gl_FrontMaterial.ambient\n"
    "        + light0() + light1() + light4()\n"
    "        + gl_FrontMaterial.emission;\n"
    "}\n";

// The three light functions differ only in the light index. Attenuation
// follows the fixed-function form 1 / (constant + linear d + quadratic d^2)
// with d the eye-space distance from the fragment to the light. SPECULAR is
// the specular term, or nothing for the matte variant.
#define KELVO_LIGHT_FUNCTION(i, SPECULAR)                                                               \
    "#version 110\n"                                                                                    \
    "varying vec3 normal;\n"                                                                            \
    "varying vec4 ecPos;\n"                                                                             \
    "vec4 light" #i "()\n"                                                                              \
    "{\n"                                                                                               \
    "    vec3 d = vec3(gl_LightSource[" #i "].position - ecPos);\n"                                     \
    "    float dist = length(d);\n"                                                                     \
    "    vec3 L = normalize(d);\n"                                                                      \
    "    vec4 diffuse = gl_FrontMaterial.diffuse * gl_LightSource[" #i "].diffuse;\n"                   \
    "    vec4 ambient = gl_FrontMaterial.ambient * gl_LightSource[" #i "].ambient;\n"                   \
    "    vec3 n = normalize(normal);\n"                                                                 \
    "    float NdotL = max(dot(n, L), 0.0);\n"                                                          \
    "    vec4 color = vec4(0.0);\n"                                                                     \
    "    if (NdotL > 0.0) {\n"                                                                          \
    "        float att = 1.0 / (gl_LightSource[" #i "].constantAttenuation\n"                           \
    "            + gl_LightSource[" #i "].linearAttenuation * dist\n"                                   \
    "            + gl_LightSource[" #i "].quadraticAttenuation * dist * dist);\n"                       \
    "        color = att * (diffuse * NdotL + ambient);\n"                                              \
    SPECULAR                                                                                            \
    "    }\n"                                                                                           \
    "    return color;\n"                                                                               \
    "}\n"

#define KELVO_SPECULAR_TERM(i)                                                                          \
    "        vec3 H = normalize(gl_LightSource[" #i "].halfVector.xyz);\n"                              \
    "        float NdotH = max(dot(n, H), 0.0);\n"                                                      \
    /* pow(0, y) is undefined in GLSL; a zero base contributes nothing. */                            \
    "        float shine = NdotH > 0.0 ? pow(NdotH, gl_FrontMaterial.shininess) : 0.0;\n"               \
    "        color += att * gl_FrontMaterial.specular * gl_LightSource[" #i "].specular * shine;\n"

const char* const l0ShaderSource = KELVO_LIGHT_FUNCTION(0, KELVO_SPECULAR_TERM(0));
const char* const l1ShaderSource = KELVO_LIGHT_FUNCTION(1, KELVO_SPECULAR_TERM(1));
const char* const l4ShaderSource = KELVO_LIGHT_FUNCTION(4, KELVO_SPECULAR_TERM(4));

const char* const l0MatteShaderSource = KELVO_LIGHT_FUNCTION(0, "");
const char* const l1MatteShaderSource = KELVO_LIGHT_FUNCTION(1, "");
const char* const l4MatteShaderSource = KELVO_LIGHT_FUNCTION(4, "");

#undef KELVO_SPECULAR_TERM
#undef KELVO_LIGHT_FUNCTION

SgShader* newLightingShader(const char* name, bool matte) {
    SgShader* shader = new SgShader(name);
    shader->attachVertexShader(lightVertexShaderSource);
    shader->attachFragmentShader(lightShaderSource);
    shader->attachFragmentShader(matte ? l0MatteShaderSource : l0ShaderSource);
    shader->attachFragmentShader(matte ? l1MatteShaderSource : l1ShaderSource);
    shader->attachFragmentShader(matte ? l4MatteShaderSource : l4ShaderSource);
    shader->linkProgram();
    return shader;
}
