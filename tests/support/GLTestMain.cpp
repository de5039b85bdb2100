// Entry point of every *GLTest executable: one hidden freeglut window gives
// all tests of the executable a current OpenGL context.
#include <cstdio>

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/Globals.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {
// The OpenGL driver is unloaded at exit, after which its own allocations can
// no longer be told apart from ours; check for leaks while it is still loaded.
int finish(int status) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
    return status;
}
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // gtest_discover_tests lists the tests without needing a display.
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--gtest_list_tests") {
            return finish(RUN_ALL_TESTS());
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
    return finish(RUN_ALL_TESTS());
}
