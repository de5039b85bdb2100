// Entry point of every *GLTest executable: one hidden freeglut window gives
// all tests of the executable a current OpenGL context.
#include <cstdio>

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/Globals.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // gtest_discover_tests lists the tests without needing a display.
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--gtest_list_tests") {
            return RUN_ALL_TESTS();
        }
    }
    int glutArgc = 1;
    char name[] = "kelvo-gltest";
    char* glutArgv[] = {name, nullptr};
    glutInit(&glutArgc, glutArgv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(256, 256);
    glutCreateWindow("kelvo tests");
    glutHideWindow();
    if (glewInit() != GLEW_OK) {
        fprintf(stderr, "GLEW could not be initialised\n");
        return 1;
    }
    shaderSupported = GLEW_VERSION_2_0 != 0;
    return RUN_ALL_TESTS();
}
