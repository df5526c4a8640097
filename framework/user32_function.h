// Entry points of user32 that older Windows lacks, found at run time so the
// program still starts where they do not exist.
#pragma once

#include "framework/platform.h"

// NULL where this Windows has no such function. GetProcAddress hands back one
// function type for all; the generic function pointer type converts to any
// other without a cast-function-type warning.
template <typename Function>
Function FindUser32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    FARPROC found = user32 != NULL ? GetProcAddress(user32, name) : NULL;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
