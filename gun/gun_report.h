// The gun driver's 6-byte report and the press-edge decode.
#pragma once

#include "framework/platform.h"

// Exactly as the driver delivers it; fields are taken by offset:
// [0],[1] button states (active low), [2..3] raw X, [4..5] raw Y, little-endian.
struct GunReport {
    BYTE bytes[6];
};

const int kButtonPatternCount = 10;

// One flag per recognised button pattern, 1 only on the report where it first
// occurs; and the report's button bytes inverted, a bit set while it is held.
struct ButtonEdges {
    BYTE flag[kButtonPatternCount];
    BYTE down[2];
};

// The first six patterns are the buttons offered for assignment.
const int kLabelledButtonCount = 6;

// Writes all of `edges` for `now` against `previous`.
void DecodeButtonEdges(const GunReport& now, const GunReport& previous, ButtonEdges& edges);
// Positions the driver reports while the gun aims off the screen.
const WORD kOffScreenRawX = 1;
const WORD kOffScreenRawY = 5;

inline bool IsAimedOffScreen(WORD rawX, WORD rawY) {
    return rawX == kOffScreenRawX || rawY == kOffScreenRawY;
}

// Inline: the tick reads both.
inline WORD ReportRawX(const GunReport& report) {
    return static_cast<WORD>(report.bytes[2] | (report.bytes[3] << 8));
}
inline WORD ReportRawY(const GunReport& report) {
    return static_cast<WORD>(report.bytes[4] | (report.bytes[5] << 8));
}

// The pattern the button bytes equal exactly, or -1: none held, several at
// once, or a bit no pattern uses.
int MatchButtonPattern(const GunReport& report);
// TRUE while the one bit of `pattern` is low, whatever else is held with it.
BOOL IsButtonDown(const GunReport& report, int pattern);
// The same for the report `edges` was decoded from.
BOOL IsButtonHeld(const ButtonEdges& edges, int pattern);
// "Start", "Select", "A", "B", "C", "D" for patterns 0..5; NULL for the rest.
const char* ButtonLabel(int pattern);

// Button bytes that match no pattern, so a button already down gives its edge on the first read.
extern const GunReport kIdleReport;
