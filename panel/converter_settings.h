// The choices persisted between runs.
#pragma once

#include "framework/platform.h"

struct ConverterSettings {
    BYTE left;    // the first four bytes are stored and loaded as one block
    BYTE middle;
    BYTE right;
    BYTE zero;
    BYTE speed;
};

static_assert(sizeof(ConverterSettings) == 5, "five one-byte fields, no padding");
