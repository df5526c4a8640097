#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "calibration/calibration.h"
#include "calibration/calibration_solver.h"

namespace {

const RECT kScreen = {0, 0, 1024, 768};
// Left of and above the primary display, as a second display often is.
const RECT kLeftDisplay = {-1024, -200, 0, 568};

CalibrationAim Aim(const RECT& display, CalibrationTarget target, WORD rawX, WORD rawY) {
    const TargetPoint point = CalibrationTargetPoint(display, target);
    return CalibrationAim{point.x, point.y, rawX, rawY};
}

TEST(Calibration, DefaultWindowAndWhatCountsAsUsable) {
    const Calibration standard = DefaultCalibration();
    EXPECT_EQ(160.0f, standard.window.left);
    EXPECT_EQ(672.0f, standard.window.right);
    EXPECT_EQ(32.0f, standard.window.top);
    EXPECT_EQ(224.0f, standard.window.bottom);
    EXPECT_STREQ("", standard.display);
    EXPECT_TRUE(IsDefaultCalibration(standard));
    EXPECT_TRUE(IsUsableAimWindow(standard.window));

    Calibration named = standard;
    std::strcpy(named.display, "\\\\.\\DISPLAY1");
    EXPECT_FALSE(IsDefaultCalibration(named)) << "the default window on a display of its own";
    Calibration moved = standard;
    moved.window.bottom = 224.5f;
    EXPECT_FALSE(IsDefaultCalibration(moved));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        AimWindow window;
        bool usable;
    };
    const Case cases[] = {
        {{0.0f, 65535.0f, 0.0f, 65535.0f}, true},   // the whole 16-bit range
        {{100.0f, 132.0f, 7.5f, 39.5f}, true},      // exactly 32 wide and high
        {{100.0f, 131.99f, 7.5f, 39.5f}, false},    // narrower
        {{100.0f, 132.0f, 7.5f, 39.4f}, false},     // lower
        {{600.0f, 200.0f, 40.0f, 210.0f}, false},   // reversed across
        {{200.0f, 600.0f, 210.0f, 40.0f}, false},   // reversed down
        {{-0.5f, 600.0f, 40.0f, 210.0f}, false},    // below the range
        {{200.0f, 600.0f, 40.0f, 65535.5f}, false}, // above it
        {{nan, 600.0f, 40.0f, 210.0f}, false},
        {{200.0f, 600.0f, 40.0f, nan}, false},
        {{200.0f, inf, 40.0f, 210.0f}, false},
        {{-inf, 600.0f, 40.0f, 210.0f}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.window.left << ".." << c.window.right << " x " << c.window.top << ".."
                                        << c.window.bottom);
        EXPECT_EQ(c.usable, IsUsableAimWindow(c.window));
    }
}

TEST(Calibration, TargetsSitOneEighthInAndTheCheckInTheMiddle) {
    const struct {
        RECT display;
        CalibrationTarget target;
        int x, y;
    } cases[] = {
        {kScreen, kTopLeftTarget, 128, 96},
        {kScreen, kBottomRightTarget, 896, 672},
        {kScreen, kCentreTarget, 512, 384},
        {kLeftDisplay, kTopLeftTarget, -896, -104},
        {kLeftDisplay, kBottomRightTarget, -128, 472},
        {kLeftDisplay, kCentreTarget, -512, 184},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.display.left << "," << c.display.top << " target " << c.target);
        const TargetPoint point = CalibrationTargetPoint(c.display, c.target);
        EXPECT_EQ(c.x, point.x);
        EXPECT_EQ(c.y, point.y);
    }
}

TEST(Calibration, SolvesTheWindowByExtrapolatingToTheDisplaysEdges) {
    struct Case {
        const char* name;
        RECT display;
        WORD x1, y1, x2, y2;
        AimWindow window;
    };
    // A gun whose raw X 200..600 and Y 40..210 span a 1024 x 768 display aims
    // at X 250 and 550 exactly; on Y it can only give whole units, 61 and 189,
    // for the true 61.25 and 188.75: 61 - 96 * 128/576 and 61 + 672 * 128/576,
    // whose thirds are kept.
    const Case cases[] = {
        {"skewed", kScreen, 250, 61, 550, 189, {200.0f, 600.0f, 39.666667f, 210.33333f}},
        {"skewed, display away from the origin", kLeftDisplay, 250, 61, 550, 189,
         {200.0f, 600.0f, 39.666667f, 210.33333f}},
        {"the gun the default window was made for", kScreen, 224, 56, 608, 200, {160.0f, 672.0f, 32.0f, 224.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AimWindow window = {1, 2, 3, 4};
        ASSERT_EQ(kCalibrationSolved, SolveAimWindow(c.display, Aim(c.display, kTopLeftTarget, c.x1, c.y1),
                                                     Aim(c.display, kBottomRightTarget, c.x2, c.y2), window));
        EXPECT_FLOAT_EQ(c.window.left, window.left);
        EXPECT_FLOAT_EQ(c.window.right, window.right);
        EXPECT_FLOAT_EQ(c.window.top, window.top);
        EXPECT_FLOAT_EQ(c.window.bottom, window.bottom);
    }
}

TEST(Calibration, RefusesAimsThatCannotGiveAWindow) {
    const AimWindow untouched = {1, 2, 3, 4};
    struct Case {
        const char* name;
        WORD x1, y1, x2, y2;
        CalibrationRefusal refusal;
    };
    const Case cases[] = {
        {"first off the screen across", 1, 61, 550, 189, kAimOffScreen},
        {"second off the screen down", 250, 61, 550, 5, kAimOffScreen},
        {"31 apart across", 250, 61, 281, 189, kAimsTooClose},
        {"31 apart down", 250, 61, 550, 92, kAimsTooClose},
        {"the same aim twice", 300, 100, 300, 100, kAimsTooClose},
        {"31 apart the wrong way", 281, 61, 250, 189, kAimsTooClose},
        {"reversed across", 550, 61, 250, 189, kAimsReversed},
        {"reversed down", 250, 189, 550, 61, kAimsReversed},
        {"left edge below raw 0", 10, 61, 300, 189, kWindowOutOfRange},
        {"bottom edge above raw 65535", 250, 65000, 550, 65500, kWindowOutOfRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AimWindow window = untouched;
        EXPECT_EQ(c.refusal, SolveAimWindow(kScreen, Aim(kScreen, kTopLeftTarget, c.x1, c.y1),
                                            Aim(kScreen, kBottomRightTarget, c.x2, c.y2), window));
        EXPECT_EQ(0, std::memcmp(&untouched, &window, sizeof window)) << "a refused window is not written";
    }

    // Exactly 32 apart is enough.
    AimWindow window;
    EXPECT_EQ(kCalibrationSolved, SolveAimWindow(kScreen, Aim(kScreen, kTopLeftTarget, 250, 61),
                                                 Aim(kScreen, kBottomRightTarget, 282, 93), window));
    // Targets given the wrong way round are refused rather than divided by.
    EXPECT_EQ(kAimsReversed, SolveAimWindow(kScreen, Aim(kScreen, kBottomRightTarget, 250, 61),
                                            Aim(kScreen, kTopLeftTarget, 550, 189), window));
    EXPECT_EQ(kAimsReversed, SolveAimWindow(kScreen, Aim(kScreen, kTopLeftTarget, 250, 61),
                                            Aim(kScreen, kTopLeftTarget, 550, 189), window));

    // One aim on its own.
    EXPECT_EQ(kAimOffScreen, CheckCalibrationAim(CalibrationAim{0, 0, 1, 100}));
    EXPECT_EQ(kAimOffScreen, CheckCalibrationAim(CalibrationAim{0, 0, 300, 5}));
    EXPECT_EQ(kCalibrationSolved, CheckCalibrationAim(CalibrationAim{0, 0, 5, 1}));
}

}  // namespace
