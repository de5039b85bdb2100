#pragma once

// Run once by endProcess before the process ends (a measured run prints its
// summary here); null when nothing needs to be said.
extern void (*beforeProcessEnd)();

// Ends the game with the given exit code: flushes standard output and, in a
// sanitizer build, checks for leaks while the OpenGL driver is still loaded
// (once it is unloaded at exit its allocations can no longer be attributed).
[[noreturn]] void endProcess(int status);
