#include <gtest/gtest.h>

#include "gun/gun_report.h"

namespace {

GunReport Report(BYTE b0, BYTE b1, BYTE x0 = 0, BYTE x1 = 0, BYTE y0 = 0, BYTE y1 = 0) {
    return GunReport{{b0, b1, x0, x1, y0, y1}};
}

// Index of the one flag set, -1 for none, -2 for several.
int RaisedFlag(const ButtonEdges& edges) {
    int found = -1;
    for (int i = 0; i < kButtonPatternCount; ++i) {
        EXPECT_LE(edges.flag[i], 1);
        if (edges.flag[i] == 0) continue;
        found = found == -1 ? i : -2;
    }
    return found;
}

int Decode(const GunReport& now, const GunReport& previous) {
    ButtonEdges edges;
    for (BYTE& f : edges.flag) f = 0xEE;  // every flag must be written
    DecodeButtonEdges(now, previous, edges);
    return RaisedFlag(edges);
}

TEST(GunReportDecode, RecognisesExactlyOneButtonByWholeBytes) {
    const BYTE patterns[kButtonPatternCount][2] = {{0xFF, 0x7F}, {0xFF, 0xBF}, {0xFB, 0xFF}, {0xF7, 0xFF},
                                                   {0xFD, 0xFF}, {0xFF, 0xDF}, {0xEF, 0xFF}, {0x7F, 0xFF},
                                                   {0xBF, 0xFF}, {0xDF, 0xFF}};
    for (int i = 0; i < kButtonPatternCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(i, Decode(Report(patterns[i][0], patterns[i][1]), kIdleReport));
    }
    EXPECT_EQ(-1, Decode(Report(0xFF, 0xFF), Report(0xFB, 0xFF))) << "all released";
    EXPECT_EQ(-1, Decode(Report(0xF3, 0xFF), kIdleReport)) << "A and B together";
    EXPECT_EQ(-1, Decode(Report(0xFF, 0x3F), kIdleReport)) << "Start and Select together";
    EXPECT_EQ(-1, Decode(Report(0xFE, 0xFF), kIdleReport)) << "unused bit 0 of byte 0";
    EXPECT_EQ(-1, Decode(Report(0xFB, 0xFE), kIdleReport)) << "A with an unused bit of byte 1 low";
    EXPECT_EQ(-1, Decode(Report(0xFF, 0xEF), kIdleReport)) << "unused bit 4 of byte 1";
    EXPECT_EQ(-1, Decode(Report(0x00, 0x00), kIdleReport));
}

TEST(GunReportDecode, EdgeOnlyWhenButtonBytesChange) {
    EXPECT_EQ(2, Decode(Report(0xFB, 0xFF), Report(0xFF, 0xFF)));
    EXPECT_EQ(-1, Decode(Report(0xFB, 0xFF), Report(0xFB, 0xFF))) << "held";
    EXPECT_EQ(-1, Decode(Report(0xFB, 0xFF, 10, 0, 20, 0), Report(0xFB, 0xFF, 99, 1, 98, 0)))
        << "moving while held";
    EXPECT_EQ(2, Decode(Report(0xFB, 0xFF), Report(0xF3, 0xFF))) << "from two buttons back to one";
    EXPECT_EQ(0, Decode(Report(0xFF, 0x7F), Report(0xFB, 0xFF))) << "from one button straight to another";
    // The idle starting value lets a button already down give its edge on the first report.
    EXPECT_EQ(2, Decode(Report(0xFB, 0xFF), kIdleReport));
    EXPECT_EQ(-1, Decode(Report(0xFF, 0xFF, 1, 2, 3, 4), kIdleReport));
}

TEST(GunReportDecode, PositionIsLittleEndian) {
    const GunReport a = Report(0xFF, 0xFF, 0xA0, 0x00, 0x20, 0x00);
    EXPECT_EQ(160, ReportRawX(a));
    EXPECT_EQ(32, ReportRawY(a));
    const GunReport b = Report(0xFF, 0xFF, 0x9F, 0x02, 0xDF, 0x00);
    EXPECT_EQ(671, ReportRawX(b));
    EXPECT_EQ(223, ReportRawY(b));
    const GunReport c = Report(0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x80);
    EXPECT_EQ(65535, ReportRawX(c));
    EXPECT_EQ(0x8001, ReportRawY(c));
}

}  // namespace

namespace {

// IsButtonDown, which must agree with IsButtonHeld on the edges decoded from the same report.
bool Down(const GunReport& report, int lamp) {
    ButtonEdges edges;
    DecodeButtonEdges(report, kIdleReport, edges);
    const bool down = IsButtonDown(report, lamp) != 0;
    EXPECT_EQ(down, IsButtonHeld(edges, lamp) != 0);
    return down;
}

TEST(GunReportHeld, NamesOnlyTheSixLabelledButtonsAndLightsEachHeldBit) {
    const char* const labels[] = {"Start", "Select", "A", "B", "C", "D"};
    const BYTE single[kButtonPatternCount][2] = {{0xFF, 0x7F}, {0xFF, 0xBF}, {0xFB, 0xFF}, {0xF7, 0xFF},
                                                 {0xFD, 0xFF}, {0xFF, 0xDF}, {0xEF, 0xFF}, {0x7F, 0xFF},
                                                 {0xBF, 0xFF}, {0xDF, 0xFF}};
    for (int i = 0; i < kButtonPatternCount; ++i) {
        SCOPED_TRACE(i);
        const GunReport report = Report(single[i][0], single[i][1]);
        EXPECT_EQ(i, MatchButtonPattern(report));
        if (i < kLabelledButtonCount) {
            EXPECT_STREQ(labels[i], ButtonLabel(i));
        } else {
            EXPECT_EQ(nullptr, ButtonLabel(i)) << "decoded, but offered under no name";
        }
        for (int lamp = 0; lamp < kLabelledButtonCount; ++lamp) EXPECT_EQ(lamp == i, Down(report, lamp));
    }
    EXPECT_EQ(nullptr, ButtonLabel(-1));

    // Several at once match no pattern, yet each held one is down.
    const GunReport aAndB = Report(0xF3, 0xFF);
    EXPECT_EQ(-1, MatchButtonPattern(aAndB));
    EXPECT_TRUE(Down(aAndB, 2));
    EXPECT_TRUE(Down(aAndB, 3));
    EXPECT_FALSE(Down(aAndB, 4));
    const GunReport startAndD = Report(0xFF, 0x5F);
    EXPECT_EQ(-1, MatchButtonPattern(startAndD));
    EXPECT_TRUE(Down(startAndD, 0));
    EXPECT_TRUE(Down(startAndD, 5));
    EXPECT_FALSE(Down(startAndD, 1));
    // Bits no button uses light nothing.
    for (int lamp = 0; lamp < kLabelledButtonCount; ++lamp) {
        EXPECT_FALSE(Down(Report(0xFF, 0xFF), lamp));
        EXPECT_FALSE(Down(Report(0xFE, 0xE0), lamp));
    }
    EXPECT_EQ(-1, MatchButtonPattern(Report(0xFF, 0xFF)));
    EXPECT_EQ(-1, MatchButtonPattern(Report(0xFE, 0xFF)));
}

}  // namespace
