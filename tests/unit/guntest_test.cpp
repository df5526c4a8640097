#include <cstring>
#include <string>
#include <vector>

#include "guntest/calibration_flow.h"
#include "guntest/fact_lines.h"
#include "guntest/gun_watch.h"
#include "guntest/play_choices.h"
#include "guntest/read_rate.h"
#include "guntest/settings_copy.h"
#include "guntest/window_dpi.h"
#include "standin_fixture.h"

using standin::Fn;

namespace {

const char kPath[] = "\\\\?\\root#gunsim#0000#{1f6c1aaa-0919-4a8d-b0cd-68566229de66}";

GunReport Report(BYTE b0, BYTE b1, WORD x, WORD y) {
    return GunReport{{b0, b1, static_cast<BYTE>(x & 0xFF), static_cast<BYTE>(x >> 8), static_cast<BYTE>(y & 0xFF),
                      static_cast<BYTE>(y >> 8)}};
}

class GunWatchTest : public StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        standin::SetDevicePath(kPath);
    }

    std::string Status() const {
        char text[kFactTextSize];
        FormatStatusLine(watch, text);
        return text;
    }
    std::string Raw() const {
        char text[kFactTextSize];
        FormatRawLine(watch.Report(), text);
        return text;
    }

    CGunWatch watch;
};

const char kNoGun[] = "No gun found: is the gun's driver installed and the gun plugged in?";
const char kUnplugged[] = "Gun unplugged: plug it back in";

TEST_F(GunWatchTest, LooksForAMissingGunOnceASecondAndOnEveryDeviceChange) {
    standin::SetDevicePresent(false);
    DWORD now = 0xFFFFFF00u;  // the tick count wraps while it waits
    watch.Tick(now);
    EXPECT_EQ(kNoGun, Status());
    EXPECT_EQ("Raw X -, Y -", Raw());
    EXPECT_EQ(1, standin::CountOf(Fn::SetupDiGetClassDevsA));
    for (int tick = 1; tick <= 16; ++tick) watch.Tick(now + 60 * tick);  // 960 ms
    EXPECT_EQ(1, standin::CountOf(Fn::SetupDiGetClassDevsA));
    watch.Tick(now + 1000);
    EXPECT_EQ(2, standin::CountOf(Fn::SetupDiGetClassDevsA));
    watch.OnDeviceChange(now + 1010, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(3, standin::CountOf(Fn::SetupDiGetClassDevsA));
    EXPECT_EQ(kNoGun, Status());
    EXPECT_EQ(0, standin::CountOf(Fn::ReadFile));
    EXPECT_EQ("", standin::Leaks());

    // Plugged in: found at the next look, and read in the same tick.
    standin::SetDevicePresent(true);
    standin::QueueReport(0xFF, 0xFF, 416, 128);
    watch.Tick(now + 2010);
    EXPECT_EQ(std::string("Gun found: ") + kPath, Status());
    EXPECT_EQ("Raw X 416, Y 128", Raw());
    EXPECT_EQ(1, watch.ReadsPerSecond(now + 2010));

    // An open link is not looked for again, whatever the system says.
    standin::ClearCalls();
    watch.OnDeviceChange(now + 2020, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(0, standin::CallCount());
}

TEST_F(GunWatchTest, UnplugAndReplugComeBackWithoutTheUser) {
    standin::QueueReport(0xFB, 0xFF, 300, 100);
    standin::QueueReadFailure(ERROR_DEVICE_NOT_CONNECTED);
    DWORD now = 5000;
    watch.Tick(now);
    EXPECT_EQ(std::string("Gun found: ") + kPath, Status());
    ASSERT_NE(nullptr, watch.Report());

    watch.Tick(now += 60);
    EXPECT_EQ(kUnplugged, Status());
    EXPECT_EQ(nullptr, watch.Report()) << "a pulled gun's last report is not its state";
    EXPECT_EQ(0, standin::OpenFileHandles());

    // Failing attempts, timed and noticed, keep saying it was unplugged.
    standin::SetDevicePresent(false);
    watch.OnDeviceChange(now += 10, DBT_DEVNODES_CHANGED, 0);
    for (int tick = 0; tick < 20; ++tick) watch.Tick(now += 60);
    EXPECT_EQ(kUnplugged, Status());
    EXPECT_EQ(3, standin::CountOf(Fn::SetupDiGetClassDevsA)) << "first open, the notice, one a second later";

    // Back: found before anything is read from it, so no report yet.
    standin::SetDevicePresent(true);
    standin::FailCall(Fn::ReadFile, ERROR_GEN_FAILURE);
    for (int tick = 0; tick < 17 && watch.Status() == kGunUnplugged; ++tick) watch.Tick(now += 60);
    EXPECT_EQ("Read failed: error 31", Status());
    EXPECT_EQ("Raw X -, Y -", Raw());
    standin::QueueReport(0xFF, 0xFF, 310, 110);
    watch.Tick(now += 60);
    EXPECT_EQ(std::string("Gun found: ") + kPath, Status());
    EXPECT_EQ("Raw X 310, Y 110", Raw());
}

TEST_F(GunWatchTest, ShortReadsKeepTheLastReportAFailedReadDoesNot) {
    const BYTE shortReport[4] = {0xFF, 0xFF, 1, 2};
    standin::QueueReport(0xFF, 0xFF, 200, 40);
    standin::QueueRead(shortReport, sizeof shortReport);
    standin::QueueRead(shortReport, 0);
    standin::QueueReadFailure(ERROR_GEN_FAILURE);
    standin::QueueReport(0xFF, 0xFF, 201, 41);
    DWORD now = 100;
    watch.Tick(now);
    watch.Tick(now += 60);
    EXPECT_EQ("Short read: 4 of 6 bytes", Status());
    EXPECT_EQ("Raw X 200, Y 40", Raw()) << "the partial bytes are not a report";
    watch.Tick(now += 60);
    EXPECT_EQ("Short read: 0 of 6 bytes", Status());
    watch.Tick(now += 60);
    EXPECT_EQ("Read failed: error 31", Status());
    EXPECT_EQ("Raw X -, Y -", Raw()) << "after a failed read the last report is not live";
    watch.Tick(now += 60);
    EXPECT_EQ(std::string("Gun found: ") + kPath, Status());
    EXPECT_EQ("Raw X 201, Y 41", Raw());
    EXPECT_EQ(1, standin::CountOf(Fn::CreateFileA));
    EXPECT_EQ(2, watch.ReadsPerSecond(now)) << "failed reads are not counted";
}

TEST_F(GunWatchTest, ReadsFailingForAWhileCloseTheLinkAndLookForTheGunAgain) {
    const char kFailing[] = "Reads keep failing: error 31; looking for the gun again";
    standin::QueueReport(0xFF, 0xFF, 200, 40);
    DWORD now = 0xFFFFFF80u;  // across the tick count's wrap
    watch.Tick(now);
    // A blip shorter than the run: the link stays.
    for (int i = 0; i < 4; ++i) standin::QueueReadFailure(ERROR_GEN_FAILURE);
    standin::QueueReport(0xFF, 0xFF, 201, 41);
    for (int tick = 0; tick < 4; ++tick) watch.Tick(now += 60);  // failures at 0..180 ms of the run
    EXPECT_EQ("Read failed: error 31", Status());
    watch.Tick(now += 60);
    EXPECT_EQ("Raw X 201, Y 41", Raw());
    EXPECT_EQ(1, standin::CountOf(Fn::CreateFileA));

    // Failures from the first at 0 ms to one at 300 ms: closed, the error kept.
    for (int i = 0; i < 6; ++i) standin::QueueReadFailure(ERROR_GEN_FAILURE);
    for (int tick = 0; tick < 5; ++tick) watch.Tick(now += 60);
    EXPECT_EQ("Read failed: error 31", Status());
    EXPECT_EQ(1, standin::OpenFileHandles());
    watch.Tick(now += 60);
    EXPECT_EQ(kFailing, Status());
    EXPECT_EQ(0, standin::OpenFileHandles());
    EXPECT_EQ(nullptr, watch.Report());

    // Looked for again; still failing, it says so and lets go again.
    for (int tick = 0; tick < 17 && standin::CountOf(Fn::CreateFileA) < 2; ++tick) watch.Tick(now += 60);
    EXPECT_EQ(kFailing, Status());
    EXPECT_EQ(0, standin::OpenFileHandles());

    // Reads answer again: the next open finds the gun live.
    standin::QueueReport(0xFF, 0xFF, 202, 42);
    watch.OnDeviceChange(now += 10, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(3, standin::CountOf(Fn::CreateFileA));
    watch.Tick(now += 60);
    EXPECT_EQ(std::string("Gun found: ") + kPath, Status());
    EXPECT_EQ("Raw X 202, Y 42", Raw());
    EXPECT_EQ(1, standin::OpenFileHandles());
}

TEST_F(GunWatchTest, WindowsAskingForTheGunIsLetGoOfForASecond) {
    HWND const window = reinterpret_cast<HWND>(0x4242);
    watch.NoticesTo(window);
    standin::QueueReport(0xFF, 0xFF, 200, 40);
    DWORD now = 1000;
    watch.Tick(now);
    EXPECT_EQ(Addr(window), standin::Find(Fn::RegisterDeviceNotificationA)->arg[0]);

    const DEV_BROADCAST_HANDLE notice = HandleNotice();
    watch.OnDeviceChange(now += 10, DBT_DEVICEQUERYREMOVE, Addr(&notice));
    EXPECT_EQ(kUnplugged, Status());
    EXPECT_EQ(0, standin::OpenFileHandles());
    for (int tick = 0; tick < 16; ++tick) watch.Tick(now += 60);  // 960 ms
    EXPECT_EQ(1, standin::CountOf(Fn::CreateFileA)) << "Windows is still busy with the gun";
    standin::QueueReport(0xFF, 0xFF, 201, 41);
    watch.Tick(now += 60);
    EXPECT_EQ(std::string("Gun found: ") + kPath, Status());
    EXPECT_EQ(1, standin::DeviceNotifications()) << "registered anew";
}

TEST_F(GunWatchTest, AListedGunThatDoesNotOpenSaysSoAndWhy) {
    const char kRefused[] =
        "Gun listed, but it does not open: error 5 (another program holds it, or its driver refuses access)";
    standin::FailCall(Fn::CreateFileA, ERROR_ACCESS_DENIED);
    DWORD now = 1000;
    watch.Tick(now);
    EXPECT_EQ(kRefused, Status());
    EXPECT_EQ("Raw X -, Y -", Raw());
    EXPECT_EQ("", standin::Leaks());
    // No longer listed: not found, as before.
    standin::SetDevicePresent(false);
    watch.Tick(now += 1000);
    EXPECT_EQ(kNoGun, Status());
    // Listed and opening: found.
    standin::SetDevicePresent(true);
    standin::QueueReport(0xFF, 0xFF, 416, 128);
    watch.Tick(now += 1000);
    EXPECT_EQ(std::string("Gun found: ") + kPath, Status());
}

TEST(GunTestFacts, ReportLinesReadAsTheWindowShowsThem) {
    const AimScale screen = MakeAimScale(1280, 1024);
    struct Case {
        GunReport report;
        const char* raw;
        const char* bytes;
        const char* held;
        const char* cursor;
    };
    const Case cases[] = {
        {Report(0xFF, 0xFF, 416, 128), "Raw X 416, Y 128", "Button bytes FF FF", "Held: none", "Cursor 640, 512 on 1280 x 1024"},
        {Report(0xFF, 0x7F, 160, 32), "Raw X 160, Y 32", "Button bytes FF 7F", "Held: Start", "Cursor 0, 0 on 1280 x 1024"},
        {Report(0xFF, 0xBF, 672, 224), "Raw X 672, Y 224", "Button bytes FF BF", "Held: Select", "Cursor 1276, 1020 on 1280 x 1024"},
        {Report(0xFB, 0xFF, 0, 65535), "Raw X 0, Y 65535", "Button bytes FB FF", "Held: A", "Cursor 0, 1020 on 1280 x 1024"},
        {Report(0xF7, 0xFF, 300, 100), "Raw X 300, Y 100", "Button bytes F7 FF", "Held: B", "Cursor 350, 362 on 1280 x 1024"},
        {Report(0xFD, 0xFF, 1, 100), "Raw X 1, Y 100", "Button bytes FD FF", "Held: C", "aimed off screen: the cursor stays"},
        {Report(0xFF, 0xDF, 300, 5), "Raw X 300, Y 5", "Button bytes FF DF", "Held: D", "aimed off screen: the cursor stays"},
        {Report(0xF3, 0xFF, 300, 100), "Raw X 300, Y 100", "Button bytes F3 FF", "Held: no assignable button (F3 FF)", "Cursor 350, 362 on 1280 x 1024"},
        {Report(0xEF, 0xFF, 300, 100), "Raw X 300, Y 100", "Button bytes EF FF", "Held: no assignable button (EF FF)", "Cursor 350, 362 on 1280 x 1024"},
        {Report(0x0A, 0xFE, 300, 100), "Raw X 300, Y 100", "Button bytes 0A FE", "Held: no assignable button (0A FE)", "Cursor 350, 362 on 1280 x 1024"},
    };
    char text[kFactTextSize];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        FormatRawLine(&c.report, text);
        EXPECT_STREQ(c.raw, text);
        FormatButtonBytesLine(&c.report, text);
        EXPECT_STREQ(c.bytes, text);
        FormatHeldLine(&c.report, text);
        EXPECT_STREQ(c.held, text);
        FormatCursorLine(&c.report, screen, text);
        EXPECT_STREQ(c.cursor, text);
    }
    FormatButtonBytesLine(nullptr, text);
    EXPECT_STREQ("Button bytes -- --", text);
    FormatHeldLine(nullptr, text);
    EXPECT_STREQ("Held: -", text);
    FormatCursorLine(nullptr, screen, text);
    EXPECT_STREQ("Cursor -", text);
    FormatReadRateLine(17, text);
    EXPECT_STREQ("Reads per second: 17", text);

    Calibration calibration = DefaultCalibration();
    FormatCalibrationLine(calibration, "", text);
    EXPECT_STREQ("Calibration: default window", text);
    calibration.window = AimWindow{199.96f, 600.04f, 39.666668f, 210.33333f};
    FormatCalibrationLine(calibration, " (not reset)", text);
    EXPECT_STREQ("Calibration: X 200.0..600.0, Y 39.7..210.3 on primary display (not reset)", text);
    calibration.window = AimWindow{0.0f, 65535.0f, 32.06f, 64.0f};
    std::strcpy(calibration.display, "\\\\.\\DISPLAY2");
    FormatCalibrationLine(calibration, "", text);
    EXPECT_STREQ("Calibration: X 0.0..65535.0, Y 32.1..64.0 on \\\\.\\DISPLAY2", text);
}

// A second display right of a 1280-wide primary, 1024 x 768, and a gun whose
// raw X 200..600 and Y 40..210 span it.
class CalibrationFlowTest : public ::testing::Test {
protected:
    static constexpr RECT kDisplay = {1280, 0, 2304, 768};
    static constexpr const char* kMonitor = "\\\\?\\DISPLAY#DEL40F6#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";

    void SetUp() override {
        const GunReport idle = Report(0xFF, 0xFF, 416, 128);
        flow.Begin(kDisplay, "\\\\.\\DISPLAY2", kMonitor, &idle);
    }

    // The report of one tick.
    void Tick(BYTE b0, BYTE b1, WORD x, WORD y) {
        const GunReport report = Report(b0, b1, x, y);
        flow.OnGun(&report);
    }
    // "A" pressed at raw X,Y after a tick with nothing held there.
    void Press(WORD x, WORD y) {
        Tick(0xFF, 0xFF, x, y);
        Tick(0xFB, 0xFF, x, y);
    }
    // Where the skewed gun aims at the current target, in whole raw units.
    void PressAtTarget() {
        const ScreenPoint target = flow.Target();
        Press(static_cast<WORD>(200 + (target.x - kDisplay.left) * 400.0 / 1024 + 0.5),
              static_cast<WORD>(40 + target.y * 170.0 / 768 + 0.5));
    }
    std::string Line(void (*format)(const CCalibrationFlow&, char*)) const {
        char text[kCalibrationTextSize];
        format(flow, text);
        return text;
    }

    CCalibrationFlow flow;
};

constexpr RECT CalibrationFlowTest::kDisplay;
constexpr const char* CalibrationFlowTest::kMonitor;

TEST_F(CalibrationFlowTest, ASkewedGunIsSolvedFromTwoTargetsAndCheckedAtTheCentre) {
    EXPECT_EQ("Aim at the target and press any gun button (step 1 of 3)", Line(FormatCalibrationStepLine));
    EXPECT_EQ("Target at 1408, 96", Line(FormatCalibrationTargetLine));
    EXPECT_EQ("", Line(FormatCalibrationCheckLine));
    EXPECT_EQ("", Line(FormatCalibrationNoteLine));
    PressAtTarget();
    EXPECT_EQ("Aim at the target and press any gun button (step 2 of 3)", Line(FormatCalibrationStepLine));
    EXPECT_EQ("Target at 2176, 672", Line(FormatCalibrationTargetLine));
    PressAtTarget();
    EXPECT_EQ("Aim at the target and press any gun button (step 3 of 3)", Line(FormatCalibrationStepLine));
    EXPECT_EQ("Target at 1792, 384", Line(FormatCalibrationTargetLine));
    PressAtTarget();
    EXPECT_EQ(kStepVerdict, flow.Step());
    EXPECT_EQ("Keep it: any gun button or Enter. Try again: Backspace, or a gun button aimed off the screen",
              Line(FormatCalibrationStepLine));
    EXPECT_EQ("Target at 1792, 384", Line(FormatCalibrationTargetLine));
    // Whole raw aims at 96 and 672 miss the line by a quarter unit: the fit
    // reaches past 40..210 by a third of a unit, and the centre still lands.
    const std::string check = Line(FormatCalibrationCheckLine);
    EXPECT_TRUE(check == "Centre check: the aim landed 0 px right and 0 px down from the target" ||
                check == "Centre check: the aim landed 0 px right and 1 px up from the target")
        << check;
    const AimWindow& window = flow.Result().window;
    EXPECT_FLOAT_EQ(200.0f, window.left);
    EXPECT_FLOAT_EQ(600.0f, window.right);
    EXPECT_NEAR(39.667f, window.top, 0.001f);
    EXPECT_NEAR(210.333f, window.bottom, 0.001f);
    EXPECT_STREQ("\\\\.\\DISPLAY2", flow.Result().display);
    EXPECT_STREQ(kMonitor, flow.Result().monitor);
    EXPECT_STREQ("", CalibrationEndNote(flow));

    // Kept by any gun button aimed at the screen, here "C" with "A" still up.
    Tick(0xFD, 0xFF, 300, 100);
    EXPECT_EQ(kStepKept, flow.Step());
    // Storing failed: the verdict again, saying so; Enter then keeps it.
    flow.SaveFailed();
    EXPECT_EQ(kStepVerdict, flow.Step());
    EXPECT_EQ("Not saved: Gun Test needs administrator rights", Line(FormatCalibrationNoteLine));
    flow.Keep();
    EXPECT_EQ(kStepKept, flow.Step());
    EXPECT_EQ("", Line(FormatCalibrationNoteLine));
    // Kept is the end: nothing the gun does changes it.
    Press(1, 100);
    flow.TryAgain();
    EXPECT_EQ(kStepKept, flow.Step());
}

TEST_F(CalibrationFlowTest, OnePressEdgeIsOneAnswer) {
    // Held as the screen opens: no answer, nor when let go.
    const GunReport held = Report(0xFB, 0xFF, 250, 61);
    flow.Begin(kDisplay, "", "", &held);
    Tick(0xFB, 0xFF, 250, 61);
    Tick(0xFF, 0xFF, 250, 61);
    EXPECT_EQ(kStepFirstTarget, flow.Step());
    // Held over many ticks: one answer.
    Tick(0xFB, 0xFF, 250, 61);
    for (int tick = 0; tick < 5; ++tick) Tick(0xFB, 0xFF, 300, 100);
    EXPECT_EQ(kStepSecondTarget, flow.Step());
    // A second button going down while the first is held is a new press; so is a bit no label uses.
    Tick(0xF3, 0xFF, 550, 189);
    EXPECT_EQ(kStepCentreTarget, flow.Step());
    Tick(0xFF, 0xFF, 400, 125);
    Tick(0xFF, 0xFE, 400, 125);
    EXPECT_EQ(kStepVerdict, flow.Step());

    // Pulled out: waited for; back with a button held, that is no answer either.
    flow.TryAgain();
    flow.OnGun(nullptr);
    EXPECT_EQ("Waiting for the gun", Line(FormatCalibrationNoteLine));
    EXPECT_EQ(kStepFirstTarget, flow.Step());
    Tick(0xFB, 0xFF, 250, 61);
    EXPECT_EQ("", Line(FormatCalibrationNoteLine));
    EXPECT_EQ(kStepFirstTarget, flow.Step());
    // Opened with no gun at all: waited for, then its first report is no answer.
    flow.Begin(kDisplay, "", "", nullptr);
    EXPECT_EQ("Waiting for the gun", Line(FormatCalibrationNoteLine));
    Tick(0xFB, 0xFF, 250, 61);
    EXPECT_EQ(kStepFirstTarget, flow.Step());
    Press(250, 61);
    EXPECT_EQ(kStepSecondTarget, flow.Step());
}

TEST_F(CalibrationFlowTest, RefusalsRepeatTheStepWithALine) {
    const std::string again = ": aim at the target and press again";
    Press(1, 61);
    EXPECT_EQ(kStepFirstTarget, flow.Step());
    EXPECT_EQ("Aimed off the screen" + again, Line(FormatCalibrationNoteLine));
    Press(250, 5);
    EXPECT_EQ(kStepFirstTarget, flow.Step());
    PressAtTarget();
    EXPECT_EQ(kStepSecondTarget, flow.Step());
    EXPECT_EQ("", Line(FormatCalibrationNoteLine)) << "an answer clears the last refusal";

    // The second aim against the first: too close on either axis, the wrong
    // way round, a window past the raw range; the first aim stays.
    Press(281, 189);
    EXPECT_EQ("Under 32 raw units from the first aim" + again, Line(FormatCalibrationNoteLine));
    Press(550, 92);
    EXPECT_EQ("Under 32 raw units from the first aim" + again, Line(FormatCalibrationNoteLine));
    Press(100, 189);
    EXPECT_EQ("The wrong way round from the first aim" + again, Line(FormatCalibrationNoteLine));
    Press(65000, 189);
    EXPECT_EQ("Beyond the gun's range" + again, Line(FormatCalibrationNoteLine));
    Press(1, 189);
    EXPECT_EQ("Aimed off the screen" + again, Line(FormatCalibrationNoteLine));
    EXPECT_EQ(kStepSecondTarget, flow.Step());
    Press(550, 189);
    EXPECT_EQ(kStepCentreTarget, flow.Step());
    Press(400, 5);
    EXPECT_EQ(kStepCentreTarget, flow.Step());
    EXPECT_EQ("Aimed off the screen" + again, Line(FormatCalibrationNoteLine));
}

TEST_F(CalibrationFlowTest, TheVerdictIsKeptOrTriedAgain) {
    flow.Keep();
    EXPECT_EQ(kStepFirstTarget, flow.Step()) << "Enter keeps only a checked calibration";
    // Backspace at any step brings the first target back.
    PressAtTarget();
    flow.TryAgain();
    EXPECT_EQ(kStepFirstTarget, flow.Step());
    for (int round = 0; round < 2; ++round) {
        PressAtTarget();
        PressAtTarget();
        PressAtTarget();
        ASSERT_EQ(kStepVerdict, flow.Step());
        if (round == 0)
            flow.TryAgain();
        else
            Press(1, 100);  // a press aimed off the screen
        EXPECT_EQ(kStepFirstTarget, flow.Step());
        EXPECT_EQ("Target at 1408, 96", Line(FormatCalibrationTargetLine));
        EXPECT_EQ("", Line(FormatCalibrationCheckLine));
        EXPECT_EQ("", Line(FormatCalibrationNoteLine));
    }
    PressAtTarget();
    PressAtTarget();
    // The centre aimed 3 raw units left and 2 below: the error says so in pixels.
    Press(397, 127);
    EXPECT_EQ("Centre check: the aim landed 8 px left and 9 px down from the target", Line(FormatCalibrationCheckLine));
    flow.Keep();
    EXPECT_EQ(kStepKept, flow.Step());
}

TEST_F(CalibrationFlowTest, ADisplayChangeEndsItWithNothingToStore) {
    // The same display described again, the name cut as Begin cut it: no change.
    flow.OnDisplay(kDisplay, "\\\\.\\DISPLAY2");
    PressAtTarget();
    EXPECT_EQ(kStepSecondTarget, flow.Step());
    const RECT moved = {0, 0, 1024, 768};
    const RECT resized = {1280, 0, 2080, 600};
    const struct {
        const char* name;
        RECT display;
        const char* device;
        int answers;
    } cases[] = {
        {"a new mode", resized, "\\\\.\\DISPLAY2", 0},
        {"the monitor gone: the window now on the primary", moved, "\\\\.\\DISPLAY1", 1},
        {"renumbered in place", kDisplay, "\\\\.\\DISPLAY3", 2},
        {"at the verdict", resized, "\\\\.\\DISPLAY2", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GunReport idle = Report(0xFF, 0xFF, 416, 128);
        flow.Begin(kDisplay, "\\\\.\\DISPLAY2", kMonitor, &idle);
        for (int i = 0; i < c.answers; ++i) PressAtTarget();
        flow.OnDisplay(c.display, c.device);
        EXPECT_EQ(kStepEnded, flow.Step());
        EXPECT_STREQ(" (ended: the display changed)", CalibrationEndNote(flow));
        // Ended is the end: no answer, key or failed save brings a step back.
        PressAtTarget();
        flow.Keep();
        flow.TryAgain();
        flow.SaveFailed();
        flow.OnDisplay(kDisplay, "\\\\.\\DISPLAY2");
        EXPECT_EQ(kStepEnded, flow.Step());
    }
}

TEST(GunTestReadRate, CountsOnlyTheLastSecondAcrossTheTickCountWrap) {
    CReadRate rate;
    const DWORD start = 0xFFFFFC00u;
    EXPECT_EQ(0, rate.PerSecond(start));
    for (DWORD t = 0; t < 3000; t += 60) rate.Record(start + t);  // 50 reads, wrapping past 0
    const DWORD now = start + 2960;
    EXPECT_EQ(17, rate.PerSecond(now));
    EXPECT_EQ(0, rate.PerSecond(now + 1000)) << "all older than a second";
    // More reads than the ring holds in a second: the count is capped, never garbage.
    CReadRate busy;
    for (DWORD t = 0; t < 200; ++t) busy.Record(t * 5);
    EXPECT_LE(busy.PerSecond(995), 200);
    EXPECT_GT(busy.PerSecond(995), 50);
}

}  // namespace

class SettingsCopyTest : public StandinTest {};

TEST_F(SettingsCopyTest, ReadFromThisProcesssTokenWhichIsClosedAfter) {
    EXPECT_EQ(kUserCopy, ReadSettingsCopy()) << "a run as it comes on Windows with UAC";
    ASSERT_EQ(2, standin::CountOf(Fn::GetTokenInformation));
    EXPECT_EQ(static_cast<ULONG_PTR>(TokenElevation), standin::Find(Fn::GetTokenInformation, 0)->arg[1]);
    EXPECT_EQ(static_cast<ULONG_PTR>(TokenVirtualizationEnabled), standin::Find(Fn::GetTokenInformation, 1)->arg[1]);
    EXPECT_EQ("", standin::Leaks());

    standin::SetToken(true, false);
    EXPECT_EQ(kComputerCopy, ReadSettingsCopy());
    standin::SetToken(false, false);
    EXPECT_EQ(kComputerCopyLocked, ReadSettingsCopy());
    // One class answering is enough where it says which.
    standin::SetToken(true, true);
    standin::FailCall(Fn::GetTokenInformation, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(kUserCopy, ReadSettingsCopy());
    standin::FailCall(Fn::GetTokenInformation, ERROR_INVALID_PARAMETER, 1);
    EXPECT_EQ(kComputerCopy, ReadSettingsCopy());
    standin::SetToken(false, false);
    standin::FailCall(Fn::GetTokenInformation, ERROR_INVALID_PARAMETER, 1);
    EXPECT_EQ(kCopyUntold, ReadSettingsCopy());
    // Before Vista neither class exists; the token still goes.
    standin::FailCall(Fn::GetTokenInformation, ERROR_INVALID_PARAMETER);
    standin::FailCall(Fn::GetTokenInformation, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(kCopyUntold, ReadSettingsCopy());
    standin::FailCall(Fn::OpenProcessToken, ERROR_ACCESS_DENIED);
    EXPECT_EQ(kCopyUntold, ReadSettingsCopy());
    EXPECT_EQ("", standin::Leaks());
}

TEST(GunTestFacts, APressLineSaysWhatGlimmerdotWouldDoWithTheseChoices) {
    const AimScale screen = MakeAimScale(1280, 1024);
    const GunReport on = Report(0xFF, 0xFF, 416, 128);
    const GunReport off = Report(0xFB, 0xFF, 300, 5);
    struct Case {
        const GunReport* report;
        BYTE offScreen;
        BYTE buttons;
        BYTE left;
        const char* line;
    };
    const Case cases[] = {
        {&on, kOffScreenRightClick, kButtonsHold, 1, "Press Start now: left button held at 640, 512"},
        {&off, kOffScreenHold, kButtonsClick, 3, "Press A now, off screen: left click where the cursor stays"},
        {&off, kOffScreenTopLeft, kButtonsClick, 4, "Press B now, off screen: left click at the top-left corner"},
        {&off, kOffScreenBottomRight, kButtonsHold, 6, "Press D now, off screen: left button held at the bottom-right corner"},
        {&off, kOffScreenRightClick, kButtonsClick, 2, "Press Select now, off screen: right click where the cursor stays"},
        {nullptr, kOffScreenHold, kButtonsClick, 3, "A press: -"},
        // Glimmerdot clicks nothing for a byte past the six buttons.
        {&on, kOffScreenHold, kButtonsClick, 7, "A press: Glimmerdot puts no gun button on the left click"},
    };
    char text[kFactTextSize];
    for (const Case& c : cases) {
        PlaySettings play = DefaultPlaySettings();
        play.offScreen = c.offScreen;
        play.buttons = c.buttons;
        FormatPressLine(c.report, screen, play, c.left, text);
        EXPECT_STREQ(c.line, text);
    }
}

class PlayPanelTest : public StandinTest {};

// Saving, removing and the value that is not valid are seen in the Wine test.
TEST_F(PlayPanelTest, LookingWritesNothingAndRefusalsKeepTheChoicesAndSayWhy) {
    PlayPanel panel = LoadPlayPanel();
    EXPECT_EQ(kPlayNoneStored, panel.note);
    EXPECT_EQ(0, ReadGlimmerdotLeft());
    EXPECT_FALSE(standin::registry::KeyExists("SOFTWARE\\VEY\\Lumipoint")) << "looking created the key";

    const int chosen[kPlayChoiceCount] = {3, 1, 2, 1, 4, 0};
    char text[kFactTextSize];
    standin::FailCall(Fn::RegSetValueExA, ERROR_ACCESS_DENIED);
    panel = SavePlayPanel(PlayFromChoices(chosen));
    FormatPlayLine(panel, text);
    EXPECT_STREQ("Play settings: not saved: Windows error 5", text);
    standin::FailCall(Fn::RegDeleteValueA, ERROR_ACCESS_DENIED);
    panel = RemovePlayPanel(panel.play);
    FormatPlayLine(panel, text);
    EXPECT_STREQ("Play settings: not removed: Windows error 5", text);
    int shown[kPlayChoiceCount];
    PlayToChoices(panel.play, shown);
    EXPECT_EQ(std::vector<int>(chosen, chosen + kPlayChoiceCount), std::vector<int>(shown, shown + kPlayChoiceCount));
    EXPECT_EQ("", standin::Leaks());
}

class WindowDpiTest : public StandinTest {};

// The window's display where user32 says it, 100 % before Windows 10 1607.
TEST_F(WindowDpiTest, TheWindowsDisplayWhereUser32SaysItElseOneHundredPercent) {
    HWND const window = reinterpret_cast<HWND>(0x1357);
    standin::SetWindowDpi(144);
    EXPECT_EQ(144u, WindowDpi(window));
    EXPECT_EQ(Addr(window), standin::Find(Fn::GetDpiForWindow)->arg[0]);
    standin::SetWindowDpi(0);
    EXPECT_EQ(96u, WindowDpi(window));
    EXPECT_EQ(48, AtDpi(32, 144));
    EXPECT_EQ(2, AtDpi(1, 144)) << "to the nearest pixel";
}
