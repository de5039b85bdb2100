#pragma once

#include <memory>
#include <string>

#include "sg/SgEntity.h"

// Group node that draws its subtree through one GLSL program in the opaque
// pass; the transparent pass (blended geometry) stays fixed-function.
//
// Every OpenGL 2.0 call is skipped when the driver lacks OpenGL 2.0 (the GLEW
// entry points are null then): such a node keeps program 0 and simply renders
// its children.
class SgShader : public SgEntity {
public:
    explicit SgShader(std::string name);
    // Reads both files, prints them and, when both were read, compiles and
    // attaches them to a new program (not linked yet).
    SgShader(std::string name, std::string vertexFile, std::string fragmentFile);
    ~SgShader() override;

    SgShader(const SgShader&) = delete;
    SgShader& operator=(const SgShader&) = delete;

    // Compile one shader object from the text and attach it, creating the
    // program on first use. A null text drops the program (program 0).
    void attachVertexShader(const char* source);
    void attachFragmentShader(const char* source);
    // File variants: print the text read, then behave like the text ones; an
    // unreadable file drops the program.
    void attachVertexShader(std::string file);
    void attachFragmentShader(std::string file);

    // Links the program (if any) and prints its info log.
    void linkProgram();
    // Print a non-empty info log followed by a line end on standard output.
    void printProgramInfoLog(unsigned int program);
    void printShaderInfoLog(unsigned int shader);

    // The whole file as zero-terminated text, or null when it cannot be
    // opened or fewer bytes arrive than its size.
    static std::unique_ptr<char[]> readFile(std::string file);

    void render(GLRenderer* renderer) override;

    // The same lighting without the specular term, built like this node; its
    // program is offered to the materials below (renderer's matteProgram).
    void setMatteVariant(std::unique_ptr<SgShader> variant);

    unsigned int getProgram() const { return program; }
    const SgShader* getMatteVariant() const { return matte.get(); }

private:
    void attachShader(unsigned int stage, const char* source);
    void dropProgram();

    unsigned int vertexShader;    // kept only by the file constructor
    unsigned int fragmentShader;  // likewise
    unsigned int program;         // 0: children render with no program
    std::unique_ptr<SgShader> matte;
};
