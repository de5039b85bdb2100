#include "sg/SgShader.h"

#include <GL/glew.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <vector>

#include "sg/GLRenderer.h"

namespace {
// The driver's capability, not the player's shader switch: a node built while
// shaders were on must still free its objects after the switch is turned off.
bool glslAvailable() { return GLEW_VERSION_2_0 != 0; }

// Compiles one shader object and prints its log, so that a text that does not
// compile shows why on the console (the link log alone only says it failed).
GLuint compileShader(GLenum stage, const char* source, SgShader& node) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    node.printShaderInfoLog(shader);
    return shader;
}

const char* printable(const char* text) { return text != nullptr ? text : "(null)"; }
}  // namespace

SgShader::SgShader(std::string name_)
    : SgEntity(std::move(name_)), vertexShader(0), fragmentShader(0), program(0) {
    type = SG_SHADER;
}

SgShader::SgShader(std::string name_, std::string vertexFile, std::string fragmentFile)
    : SgShader(std::move(name_)) {
    std::unique_ptr<char[]> vertexText = readFile(vertexFile);
    std::unique_ptr<char[]> fragmentText = readFile(fragmentFile);
    printf("vertex shader: %s\n", printable(vertexText.get()));
    printf("fragment shader: %s\n", printable(fragmentText.get()));
    if (!vertexText || !fragmentText || !glslAvailable()) {
        return;
    }
    vertexShader = compileShader(GL_VERTEX_SHADER, vertexText.get(), *this);
    fragmentShader = compileShader(GL_FRAGMENT_SHADER, fragmentText.get(), *this);
    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
}

SgShader::~SgShader() {
    if (!glslAvailable()) {
        return;
    }
    // Deleting the program also frees the text-made shader objects, which
    // were flagged for deletion when they were attached.
    dropProgram();
    if (vertexShader != 0) {
        glDeleteShader(vertexShader);
    }
    if (fragmentShader != 0) {
        glDeleteShader(fragmentShader);
    }
}

void SgShader::attachVertexShader(const char* source) { attachShader(GL_VERTEX_SHADER, source); }

void SgShader::attachFragmentShader(const char* source) { attachShader(GL_FRAGMENT_SHADER, source); }

void SgShader::attachVertexShader(std::string file) {
    std::unique_ptr<char[]> text = readFile(file);
    printf("vertex shader: %s\n", printable(text.get()));
    attachShader(GL_VERTEX_SHADER, text.get());
}

void SgShader::attachFragmentShader(std::string file) {
    std::unique_ptr<char[]> text = readFile(file);
    printf("fragment shader: %s\n", printable(text.get()));
    attachShader(GL_FRAGMENT_SHADER, text.get());
}

void SgShader::attachShader(unsigned int stage, const char* source) {
    if (source == nullptr) {
        dropProgram();
        return;
    }
    if (!glslAvailable()) {
        return;
    }
    GLuint shader = compileShader(stage, source, *this);
    if (program == 0) {
        program = glCreateProgram();
    }
    glAttachShader(program, shader);
    // Only flagged: the object lives on, attached, until the program goes.
    glDeleteShader(shader);
}

void SgShader::dropProgram() {
    if (program != 0 && glslAvailable()) {
        glDeleteProgram(program);
    }
    program = 0;
}

void SgShader::linkProgram() {
    if (program == 0 || !glslAvailable()) {
        return;
    }
    glLinkProgram(program);
    printProgramInfoLog(program);
}

namespace {
// Prints an object's info log with a line end, if it has one; getLength and
// getLog are the program or the shader forms of the two queries.
void printInfoLog(GLuint object, PFNGLGETPROGRAMIVPROC getLength, PFNGLGETPROGRAMINFOLOGPROC getLog) {
    GLint length = 0;
    getLength(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) {
        return;
    }
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    GLsizei written = 0;
    getLog(object, length, &written, log.data());
    if (written != 0) {
        printf("%s\n", log.data());
    }
}
}  // namespace

void SgShader::printProgramInfoLog(unsigned int programId) {
    if (glslAvailable()) {
        printInfoLog(programId, glGetProgramiv, glGetProgramInfoLog);
    }
}

void SgShader::printShaderInfoLog(unsigned int shader) {
    if (glslAvailable()) {
        printInfoLog(shader, glGetShaderiv, glGetShaderInfoLog);
    }
}

std::unique_ptr<char[]> SgShader::readFile(std::string file) {
    // A directory opens as a stream whose end position is meaningless.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return nullptr;
    }
    std::ifstream in(file, std::ios::in | std::ios::ate);
    if (!in) {
        return nullptr;
    }
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return nullptr;
    }
    in.seekg(0, std::ios::beg);
    std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
    if (!text) {
        return nullptr;
    }
    in.read(text.get(), size);
    if (in.gcount() < size) {
        return nullptr;
    }
    text[static_cast<size_t>(size)] = '\0';
    return text;
}

void SgShader::render(GLRenderer* renderer) {
    if (!active) {
        return;
    }
    if (renderer->transparentPass) {
        SgEntity::render(renderer);
        return;
    }
    // Afterwards both the bound program and currentProgram go back to what
    // they were (0 in the game), so that blend nodes, which re-bind
    // currentProgram in the transparent pass, cannot bring this program back
    // outside its subtree (the 2-D overlay is drawn after it).
    const unsigned int previous = renderer->currentProgram;
    const unsigned int previousMatte = renderer->matteProgram;
    renderer->currentProgram = program;
    renderer->matteProgram = program != 0 && matte != nullptr ? matte->getProgram() : 0;
    renderer->useProgram(program);
    SgEntity::render(renderer);
    renderer->useProgram(previous);
    renderer->currentProgram = previous;
    renderer->matteProgram = previousMatte;
}

void SgShader::setMatteVariant(std::unique_ptr<SgShader> variant) { matte = std::move(variant); }
