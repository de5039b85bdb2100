#include "app/ProcessEnd.h"

#include <cstdio>
#include <cstdlib>

#include "app/Globals.h"
#include "resources/AudioManager.h"

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
    // exit() does not close the audio device: OpenAL would complain on
    // standard error and a device writing to a file would leave it unfinished.
    delete audioManager;
    audioManager = nullptr;
    fflush(stdout);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
    exit(status);
}
