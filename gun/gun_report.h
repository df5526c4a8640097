// The gun driver's 6-byte report and the press-edge decode.
#pragma once

#include "framework/platform.h"

// Exactly as the driver delivers it; fields are taken by offset:
// [0],[1] button states (active low), [2..3] raw X, [4..5] raw Y, little-endian.
struct GunReport {
    BYTE bytes[6];
};

const int kButtonPatternCount = 10;

// One flag per recognised button pattern, 1 only on the report where it first occurs.
struct ButtonEdges {
    BYTE flag[kButtonPatternCount];
};

// Writes all ten flags of `edges` for `now` against `previous`.
void DecodeButtonEdges(const GunReport& now, const GunReport& previous, ButtonEdges& edges);
WORD ReportRawX(const GunReport& report);
WORD ReportRawY(const GunReport& report);

// Button bytes that match no pattern, so a button already down gives its edge on the first read.
extern const GunReport kIdleReport;
