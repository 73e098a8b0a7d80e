// RECT and POINT as the system defines them. The plain-logic files include this instead of
// <windows.h> so that they also build natively for the sanitizer and fuzzing runs.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>
struct RECT {
    int32_t left, top, right, bottom;
};
struct POINT {
    int32_t x, y;
};
#endif
