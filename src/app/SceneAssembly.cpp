#include "app/SceneAssembly.h"

#include <GL/glew.h>

#include "platform/Cursor.h"

void init() {
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    Cursor::hide();
}
