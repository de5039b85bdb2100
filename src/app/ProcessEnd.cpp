#include "app/ProcessEnd.h"

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

void (*beforeProcessEnd)() = nullptr;

void endProcess(int status) {
    if (beforeProcessEnd != nullptr) {
        void (*report)() = beforeProcessEnd;
        beforeProcessEnd = nullptr;
        report();
    }
    fflush(stdout);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
    exit(status);
}
