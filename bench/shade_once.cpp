// The fill-rate floor of a shaded frame: a window of the given size that
// clears, draws one quad covering the whole window with the game's per-pixel
// lighting program (three positional lights, as in play) and swaps. Every
// pixel is shaded exactly once, so a game frame with per-pixel lighting can
// not be cheaper than this. Timed like the game's benchmark (steady clock,
// first frame left out).
// Usage: shade_once [width height frames]
#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>

#include "FloorBench.h"
#include "app/LightingShaderSources.h"
#include "sg/SgShader.h"

namespace {

// The game's three lights (colours and attenuation as the scene assembles
// them, at play-like distances), given in eye space.
void setLights() {
    const GLfloat black[4] = {0, 0, 0, 1};
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat blue[4] = {0, 0.3f, 1, 1};
    const GLfloat orange[4] = {1, 0.6f, 0, 1};
    const GLfloat yellow[4] = {1, 1, 0, 1};
    struct Light {
        GLenum id;
        GLfloat position[4];
        const GLfloat* ambient;
        const GLfloat* diffuse;
        const GLfloat* specular;
        GLfloat quadratic;
    };
    // All three in front of the plane, so every pixel runs every light's
    // full branch (the costliest case; in play a face turned away skips it).
    const Light lights[3] = {{GL_LIGHT0, {0, 5, 30, 1}, black, blue, white, 0.005f},
                             {GL_LIGHT1, {0, 20, 20, 1}, black, white, white, 0.003f},
                             {GL_LIGHT4, {8, 0, 30, 1}, orange, orange, yellow, 0.003f}};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const Light& l : lights) {
        glEnable(l.id);
        glLightfv(l.id, GL_POSITION, l.position);
        glLightf(l.id, GL_QUADRATIC_ATTENUATION, l.quadratic);
        glLightfv(l.id, GL_AMBIENT, l.ambient);
        glLightfv(l.id, GL_DIFFUSE, l.diffuse);
        glLightfv(l.id, GL_SPECULAR, l.specular);
    }
    const GLfloat ambient[4] = {0.1f, 0.1f, 0.1f, 0.7f};
    const GLfloat diffuse[4] = {0.9f, 0.9f, 0.95f, 0.7f};
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, black);
    glMaterialf(GL_FRONT, GL_SHININESS, 1.0f);
}

void shadeFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A tilted plane filling the window: depth and lighting vary across it
    // as they do on the maze floor.
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.6f, 0.8f);
    glVertex3f(-1.0f, -1.0f, -0.5f);
    glVertex3f(1.0f, -1.0f, -0.5f);
    glVertex3f(1.0f, 1.0f, 0.5f);
    glVertex3f(-1.0f, 1.0f, 0.5f);
    glEnd();
}
}  // namespace

int main(int argc, char** argv) {
    if (!FloorBench::open(argc, argv, "shade once") || !GLEW_VERSION_2_0) {
        fprintf(stderr, "shade_once: OpenGL 2.0 is needed for the lighting program\n");
        return 1;
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    setLights();
    // The quad's corners are given in clip space: both matrices stay identity
    // for the geometry, the lights above were placed in eye space.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SgShader* shader = new SgShader("lighting");
    shader->attachVertexShader(lightVertexShaderSource);
    shader->attachFragmentShader(lightShaderSource);
    shader->attachFragmentShader(l0ShaderSource);
    shader->attachFragmentShader(l1ShaderSource);
    shader->attachFragmentShader(l4ShaderSource);
    shader->linkProgram();
    glUseProgram(shader->getProgram());
    FloorBench::run("shade-once", shadeFrame);
    return 0;
}
