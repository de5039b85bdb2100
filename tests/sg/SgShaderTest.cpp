#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "app/LightingShaderSources.h"
#include "sg/SgShader.h"

// No OpenGL context exists in this executable and GLEW was never initialised:
// every OpenGL 2.0 entry point is null, exactly as on a driver without 2.0.
namespace {
std::string tempFile(const std::string& contents) {
    static int counter = 0;
    const std::string path =
        testing::TempDir() + "kelvo_shader_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".glsl";
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}
}  // namespace

TEST(SgShader, ReadFileReturnsTheWholeTextOrNull) {
    const std::string text = "#version 110\nvoid main()\n{\n}\n";
    auto read = SgShader::readFile(tempFile(text));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::string(read.get()), text);

    auto empty = SgShader::readFile(tempFile(""));
    ASSERT_NE(empty, nullptr) << "an empty file is an empty text";
    EXPECT_EQ(empty[0], '\0');

    EXPECT_EQ(SgShader::readFile(testing::TempDir() + "kelvo_no_such_shader.glsl"), nullptr);
    EXPECT_EQ(SgShader::readFile(testing::TempDir()), nullptr) << "a directory is not a text";
}

TEST(SgShader, WithoutOpenGL2NothingIsCalledAndTheProgramStaysZero) {
    SgShader* shader = new SgShader("testShader");
    shader->attachVertexShader(lightVertexShaderSource);
    shader->attachFragmentShader(lightShaderSource);
    shader->linkProgram();
    EXPECT_EQ(shader->getProgram(), 0u);
    shader->attachFragmentShader(static_cast<const char*>(nullptr));
    EXPECT_EQ(shader->getProgram(), 0u);
    delete shader;
}

TEST(SgShader, AMissingShaderFileBuildsNoProgram) {
    const std::string vertexPath = tempFile("void main() {}\n");
    SgShader shader("files", vertexPath, testing::TempDir() + "kelvo_missing.frag");
    EXPECT_EQ(shader.getProgram(), 0u);
}
