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

}  // namespace

const GunReport kIdleReport = {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};

void DecodeButtonEdges(const GunReport& now, const GunReport& previous, ButtonEdges& edges) {
    const bool changed = now.bytes[0] != previous.bytes[0] || now.bytes[1] != previous.bytes[1];
    for (int i = 0; i < kButtonPatternCount; ++i) {
        const bool matches = now.bytes[0] == kButtonPatterns[i].byte0 && now.bytes[1] == kButtonPatterns[i].byte1;
        edges.flag[i] = (changed && matches) ? 1 : 0;
    }
}

WORD ReportRawX(const GunReport& report) {
    return static_cast<WORD>(report.bytes[2] | (report.bytes[3] << 8));
}

WORD ReportRawY(const GunReport& report) {
    return static_cast<WORD>(report.bytes[4] | (report.bytes[5] << 8));
}
