#include "platform/PerformanceCounter.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

int64_t PerformanceCounter::now() {
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

int64_t PerformanceCounter::frequency() {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
}
