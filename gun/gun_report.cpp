#include "gun/gun_report.h"

namespace {

struct ButtonPattern {
    BYTE byte0;
    BYTE byte1;
};

// One button down, active low; the first six are the ones offered for assignment.
const ButtonPattern kButtonPatterns[kButtonPatternCount] = {
    {0xFF, 0x7F},  // Start
    {0xFF, 0xBF},  // Select
    {0xFB, 0xFF},  // A
    {0xF7, 0xFF},  // B
    {0xFD, 0xFF},  // C
    {0xFF, 0xDF},  // D
    {0xEF, 0xFF},
    {0x7F, 0xFF},
    {0xBF, 0xFF},
    {0xDF, 0xFF},
};

const char* const kButtonLabels[kLabelledButtonCount] = {"Start", "Select", "A", "B", "C", "D"};

// `low0` and `low1`: the button bytes inverted. Active low: the pattern's one
// cleared bit, cleared in the report too.
BOOL HasPatternBit(int low0, int low1, int pattern) {
    const ButtonPattern& p = kButtonPatterns[pattern];
    return ((low0 & ~p.byte0) | (low1 & ~p.byte1)) & 0xFF ? TRUE : FALSE;
}

}  // namespace

const GunReport kIdleReport = {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};

int MatchButtonPattern(const GunReport& report) {
    for (int i = 0; i < kButtonPatternCount; ++i) {
        if (report.bytes[0] == kButtonPatterns[i].byte0 && report.bytes[1] == kButtonPatterns[i].byte1) return i;
    }
    return -1;
}

BOOL IsButtonDown(const GunReport& report, int pattern) {
    return HasPatternBit(~report.bytes[0], ~report.bytes[1], pattern);
}

BOOL IsButtonHeld(const ButtonEdges& edges, int pattern) {
    return HasPatternBit(edges.down[0], edges.down[1], pattern);
}

const char* ButtonLabel(int pattern) {
    return pattern >= 0 && pattern < kLabelledButtonCount ? kButtonLabels[pattern] : NULL;
}

void DecodeButtonEdges(const GunReport& now, const GunReport& previous, ButtonEdges& edges) {
    const bool changed = now.bytes[0] != previous.bytes[0] || now.bytes[1] != previous.bytes[1];
    const int matched = changed ? MatchButtonPattern(now) : -1;
    for (int i = 0; i < kButtonPatternCount; ++i) edges.flag[i] = i == matched ? 1 : 0;
    edges.down[0] = static_cast<BYTE>(~now.bytes[0]);
    edges.down[1] = static_cast<BYTE>(~now.bytes[1]);
}
