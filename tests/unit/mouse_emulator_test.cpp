#include <cstring>
#include <functional>
#include <string>

#include "calibration/calibration.h"
#include "pointer/mouse_emulator.h"
#include "standin_fixture.h"

using standin::Fn;

namespace {

ButtonEdges Edges(int raised = -1) {
    ButtonEdges edges = {};
    if (raised >= 0) edges.flag[raised] = 1;
    return edges;
}

ButtonEdges AllEdges() {
    ButtonEdges edges;
    std::memset(edges.flag, 1, sizeof edges.flag);
    return edges;
}

// The mouse_event flags sent since the log was last cleared, checking that
// no event carries movement or data.
std::vector<DWORD> MouseEvents() {
    std::vector<DWORD> out;
    for (int i = 0; i < standin::CallCount(); ++i) {
        const standin::Call& c = standin::CallAt(i);
        if (c.fn != Fn::mouse_event) continue;
        EXPECT_EQ(0u, c.arg[1] | c.arg[2] | c.arg[3] | c.arg[4]);
        out.push_back(static_cast<DWORD>(c.arg[0]));
    }
    return out;
}

// Where one update put the cursor, "none" when it did not move it.
std::string CursorAfter(CMouseEmulator& emulator, WORD rawX, WORD rawY, const ButtonEdges& edges) {
    standin::ClearCalls();
    emulator.Update(rawX, rawY, edges);
    const standin::Call* set = standin::Find(Fn::SetCursorPos);
    return set == nullptr ? std::string("none")
                          : std::to_string(static_cast<int>(set->arg[0])) + "," +
                                std::to_string(static_cast<int>(set->arg[1]));
}

class MouseEmulatorTest : public StandinTest {};

TEST_F(MouseEmulatorTest, ReadsTheScreenSizeFromTheDesktopAndReleasesTheDC) {
    standin::SetScreenSize(1024, 768);
    CMouseEmulator emulator;
    EXPECT_EQ((std::vector<Fn>{Fn::GetDesktopWindow, Fn::GetDC, Fn::GetDeviceCaps, Fn::GetDeviceCaps, Fn::ReleaseDC}),
              standin::Sequence());
    const ULONG_PTR desktop = standin::Find(Fn::GetDesktopWindow)->result;
    const ULONG_PTR dc = standin::Find(Fn::GetDC)->result;
    EXPECT_EQ(desktop, standin::Find(Fn::GetDC)->arg[0]);
    EXPECT_EQ(ULONG_PTR(HORZRES), standin::Find(Fn::GetDeviceCaps, 0)->arg[1]);
    EXPECT_EQ(ULONG_PTR(VERTRES), standin::Find(Fn::GetDeviceCaps, 1)->arg[1]);
    EXPECT_EQ(dc, standin::Find(Fn::GetDeviceCaps, 0)->arg[0]);
    EXPECT_EQ(desktop, standin::Find(Fn::ReleaseDC)->arg[0]);
    EXPECT_EQ(dc, standin::Find(Fn::ReleaseDC)->arg[1]);
    EXPECT_EQ("", standin::Leaks());
}

TEST_F(MouseEmulatorTest, FollowsADisplayModeChange) {
    standin::SetScreenSize(1280, 1024);
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 0);
    const auto cursorAfter = [&emulator](WORD rawX, WORD rawY, const ButtonEdges& edges) {
        return CursorAfter(emulator, rawX, rawY, edges);
    };
    EXPECT_EQ("1276,1020", cursorAfter(672, 224, Edges()));

    // Not seen until the emulator is told, and telling it moves nothing by itself.
    standin::SetScreenSize(800, 600);
    EXPECT_EQ("640,512", cursorAfter(416, 128, Edges()));
    standin::ClearCalls();
    emulator.ReadScreenSize();
    EXPECT_EQ((std::vector<Fn>{Fn::GetDesktopWindow, Fn::GetDC, Fn::GetDeviceCaps, Fn::GetDeviceCaps, Fn::ReleaseDC}),
              standin::Sequence());
    EXPECT_EQ("", standin::Leaks());

    // The gun held still is placed anew for the new size, clamp included.
    EXPECT_EQ("400,300", cursorAfter(416, 128, Edges()));
    EXPECT_EQ("none", cursorAfter(416, 128, Edges()));
    EXPECT_EQ("796,596", cursorAfter(672, 224, Edges()));

    // A left press held over a change is released by the next update, after the move.
    EXPECT_EQ("none", cursorAfter(672, 224, Edges(2)));
    standin::SetScreenSize(1280, 1024);
    emulator.ReadScreenSize();
    EXPECT_EQ("1276,1020", cursorAfter(672, 224, Edges()));
    EXPECT_EQ((std::vector<Fn>{Fn::SetCursorPos, Fn::mouse_event}), standin::Sequence());
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTUP}), MouseEvents());

    // Back on the old mode the old mapping holds; the off-screen markers still move nothing.
    EXPECT_EQ("640,512", cursorAfter(416, 128, Edges()));
    emulator.ReadScreenSize();
    EXPECT_EQ("none", cursorAfter(1, 100, Edges()));
    EXPECT_EQ("none", cursorAfter(300, 5, Edges()));
    EXPECT_EQ("640,512", cursorAfter(416, 128, Edges()));
}

TEST_F(MouseEmulatorTest, ScalesTruncatesAndClampsToTheScreen) {
    struct Point {
        WORD rawX, rawY;
        int x, y;
    };
    struct Screen {
        int width, height;
        std::vector<Point> points;
    };
    // Expected values worked out by hand from the float scales, not by the code under test.
    const Screen screens[] = {
        {800, 600, {{160, 32, 0, 0}, {416, 128, 400, 300}, {672, 224, 796, 596}, {161, 33, 1, 3},
                    {300, 100, 218, 212}, {159, 31, 0, 0}, {0, 0, 0, 0}, {65535, 65535, 796, 596},
                    {159, 224, 0, 596}, {700, 31, 796, 0}}},
        {1366, 768, {{161, 33, 2, 4}, {163, 35, 8, 12}, {417, 129, 685, 388}, {671, 223, 1362, 764},
                     {500, 150, 907, 472}}},
        {1280, 800, {{161, 33, 2, 4}, {165, 37, 12, 20}, {170, 50, 25, 75}, {400, 200, 600, 700},
                     {671, 223, 1276, 795}}},
        {1920, 1080, {{161, 33, 3, 5}, {163, 35, 11, 16}, {415, 127, 956, 534}, {671, 223, 1916, 1074}}},
    };
    for (const Screen& screen : screens) {
        standin::Reset();
        standin::SetScreenSize(screen.width, screen.height);
        CMouseEmulator emulator;
        emulator.SetAssignments(0, 0, 0);
        for (const Point& p : screen.points) {
            SCOPED_TRACE(testing::Message() << screen.width << "x" << screen.height << " raw " << p.rawX << ","
                                            << p.rawY);
            standin::ClearCalls();
            emulator.Update(p.rawX, p.rawY, Edges());
            ASSERT_EQ(1, standin::CountOf(Fn::SetCursorPos));
            EXPECT_EQ(p.x, static_cast<int>(standin::Find(Fn::SetCursorPos)->arg[0]));
            EXPECT_EQ(p.y, static_cast<int>(standin::Find(Fn::SetCursorPos)->arg[1]));
        }
    }
}

TEST_F(MouseEmulatorTest, MovesOnlyForANewOnScreenPosition) {
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 0);

    // Even the aim window's corner moves the cursor on the first report.
    emulator.Update(160, 32, Edges());
    EXPECT_EQ(1, standin::CountOf(Fn::SetCursorPos));
    emulator.Update(160, 32, Edges());
    EXPECT_EQ(1, standin::CountOf(Fn::SetCursorPos)) << "same position";
    emulator.Update(300, 100, Edges());
    EXPECT_EQ(2, standin::CountOf(Fn::SetCursorPos));

    // No start value may swallow the first report, zeros included.
    CMouseEmulator fresh;
    fresh.SetAssignments(0, 0, 0);
    standin::ClearCalls();
    fresh.Update(0, 0, Edges());
    EXPECT_EQ(1, standin::CountOf(Fn::SetCursorPos));

    // Off-screen markers: no move, and the last position stays what it was,
    // so returning to it does not move either. Buttons still act.
    standin::ClearCalls();
    emulator.Update(1, 100, Edges(2));
    emulator.Update(300, 5, Edges());
    emulator.Update(300, 100, Edges());
    EXPECT_EQ(0, standin::CountOf(Fn::SetCursorPos));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}), MouseEvents());

    // The press lands where the gun points now: move first, then the button.
    standin::ClearCalls();
    emulator.Update(400, 150, Edges(2));
    EXPECT_EQ((std::vector<Fn>{Fn::SetCursorPos, Fn::mouse_event}), standin::Sequence());
}

TEST_F(MouseEmulatorTest, AssignedButtonsClickInLeftMiddleRightOrder) {
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 2, 1);  // left "A", middle "Select", right "Start"

    emulator.Update(300, 100, Edges(2));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTDOWN}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTUP}), MouseEvents()) << "left held until the next update";
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_TRUE(MouseEvents().empty());

    emulator.Update(300, 100, Edges(0));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges(1));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_TRUE(MouseEvents().empty());

    // Three mouse buttons on one gun button all act, left first; the left
    // release comes with the next update whatever else happens then.
    emulator.SetAssignments(6, 6, 6);
    emulator.Update(300, 100, Edges(5));
    emulator.Update(300, 100, Edges(5));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP,
                                  MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_LEFTDOWN,
                                  MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_RIGHTDOWN,
                                  MOUSEEVENTF_RIGHTUP}),
              MouseEvents());
}

TEST_F(MouseEmulatorTest, UnassignedButtonsNeverAct) {
    CMouseEmulator emulator;
    const BYTE unassigned[] = {0, 7, 8, 10, 255};
    for (BYTE a : unassigned) {
        SCOPED_TRACE(int(a));
        emulator.SetAssignments(a, a, a);
        standin::ClearCalls();
        emulator.Update(300, 100, AllEdges());
        emulator.Update(300, 100, AllEdges());
        EXPECT_TRUE(MouseEvents().empty());
    }
}

TEST_F(MouseEmulatorTest, ReleasingAHeldLeftButtonSendsOneLeftUp) {
    CMouseEmulator emulator;
    emulator.SetAssignments(1, 0, 0);
    emulator.ReleaseHeldButton();
    EXPECT_TRUE(MouseEvents().empty()) << "nothing held";

    emulator.Update(300, 100, Edges(0));
    standin::ClearCalls();
    emulator.ReleaseHeldButton();
    emulator.ReleaseHeldButton();
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTUP}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_TRUE(MouseEvents().empty()) << "already released";
}

// ---- with a calibration ------------------------------------------------------

// Raw X 200..600 and Y 40..210 span the display.
Calibration Skewed(const char* display) {
    Calibration calibration = DefaultCalibration();
    calibration.window = AimWindow{200.0f, 600.0f, 40.0f, 210.0f};
    std::strcpy(calibration.display, display);
    return calibration;
}

const char kPrimary[] = "\\\\.\\DISPLAY1";
const char kSecond[] = "\\\\.\\DISPLAY2";

TEST_F(MouseEmulatorTest, ACalibrationMapsItsWindowOntoItsDisplay) {
    // The second display lies left of and above the primary one.
    standin::SetScreenSize(1024, 768);
    standin::AddDisplay(kPrimary, 0, 0, 1024, 768);
    standin::AddDisplay(kSecond, -1280, -256, 1280, 1024);
    struct Point {
        WORD rawX, rawY;
        const char* cursor;
    };
    struct Case {
        const char* display;
        std::vector<Point> points;
    };
    // Worked out by hand: 1024/400 = 2.56 and 768/170 px per raw unit on the
    // primary, 3.2 and 1024/170 on the second; truncated toward zero within
    // the display, then clamped to its left/top and right/bottom - 4.
    const Case cases[] = {
        {"", {{200, 40, "0,0"}, {400, 125, "512,384"}, {201, 41, "2,4"}, {300, 100, "256,271"},
              {599, 209, "1020,763"}, {600, 210, "1020,764"}, {199, 39, "0,0"}, {0, 0, "0,0"},
              {65535, 65535, "1020,764"}, {1, 100, "none"}, {300, 5, "none"}}},
        {kPrimary, {{400, 125, "512,384"}, {201, 41, "2,4"}}},
        {kSecond, {{200, 40, "-1280,-256"}, {400, 125, "-640,256"}, {201, 41, "-1277,-250"},
                   {600, 210, "-4,764"}, {199, 39, "-1280,-256"}, {65535, 0, "-4,-256"},
                   {1, 100, "none"}, {300, 5, "none"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        CMouseEmulator emulator;
        emulator.UseCalibration(Skewed(c.display));
        EXPECT_EQ("", standin::Leaks());
        // A display asked for by name needs the record that carries the name.
        const standin::Call* info = standin::Find(Fn::GetMonitorInfoA);
        EXPECT_EQ(c.display[0] == '\0' ? 0u : DWORD(sizeof(MONITORINFOEXA)), info ? info->structSize : 0u);
        for (const Point& p : c.points) {
            SCOPED_TRACE(testing::Message() << "raw " << p.rawX << "," << p.rawY);
            EXPECT_EQ(p.cursor, CursorAfter(emulator, p.rawX, p.rawY, Edges()));
        }
    }

    // The default window on the second display keeps the single-precision
    // scales: 1280 * 2^-9 = 2.5 and 1024 * 0.0052083335f = 5.33.. px per unit.
    CMouseEmulator emulator;
    Calibration standard = DefaultCalibration();
    std::strcpy(standard.display, kSecond);
    emulator.UseCalibration(standard);
    EXPECT_EQ("-1278,-251", CursorAfter(emulator, 161, 33, Edges()));
    EXPECT_EQ("-4,764", CursorAfter(emulator, 672, 224, Edges()));
}

// The monitors' interface names, as EnumDisplayDevicesA gives them.
const char kPrimaryMonitor[] = "\\\\?\\DISPLAY#GSM5B7F#5&2f1e0d&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
const char kSecondMonitor[] = "\\\\?\\DISPLAY#DEL40F6#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";

TEST_F(MouseEmulatorTest, ACalibrationFindsItsMonitorFirstItsDisplaysNameSecond) {
    standin::SetScreenSize(1024, 768);
    standin::AddDisplay(kPrimary, 0, 0, 1024, 768, kPrimaryMonitor);
    standin::AddDisplay(kSecond, -1280, -256, 1280, 1024, kSecondMonitor);
    const char* const kUnknown = "\\\\?\\DISPLAY#ACR0001#5&0&0&UID9#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";
    struct Case {
        const char* name;
        const char* monitor;
        const char* display;
        const char* middle;  // where raw 400,125 lands
    };
    const Case cases[] = {
        {"both names right", kSecondMonitor, kSecond, "-640,256"},
        {"renumbered: the monitor's old number is the primary's now", kSecondMonitor, kPrimary, "-640,256"},
        {"an unknown monitor: the display's name", kUnknown, kSecond, "-640,256"},
        {"neither known: the primary", kUnknown, "\\\\.\\DISPLAY9", "512,384"},
        {"the first layout: the name alone", "", kSecond, "-640,256"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Calibration calibration = Skewed(c.display);
        std::strcpy(calibration.monitor, c.monitor);
        CMouseEmulator emulator;
        emulator.UseCalibration(calibration);
        const standin::Call* asked = standin::Find(Fn::EnumDisplayDevicesA);
        EXPECT_EQ(c.monitor[0] == '\0' ? 0 : 2, standin::CountOf(Fn::EnumDisplayDevicesA))
            << "each display asked once; a name alone is found as it always was";
        EXPECT_EQ(c.middle, CursorAfter(emulator, 400, 125, Edges()));
        EXPECT_EQ("", standin::Leaks());
        if (asked == nullptr) continue;
        // The first monitor of each display GetMonitorInfoA named, by interface name.
        EXPECT_STREQ(kPrimary, asked->text);
        EXPECT_EQ(0u, asked->arg[1]);
        EXPECT_EQ(ULONG_PTR(EDD_GET_DEVICE_INTERFACE_NAME), asked->arg[3]);
        EXPECT_EQ(DWORD(sizeof(DISPLAY_DEVICEA)), asked->structSize);
    }

    // A system that names no monitor: the display's name decides.
    Calibration calibration = Skewed(kSecond);
    std::strcpy(calibration.monitor, kSecondMonitor);
    standin::FailCall(Fn::EnumDisplayDevicesA, ERROR_GEN_FAILURE);
    standin::FailCall(Fn::EnumDisplayDevicesA, ERROR_GEN_FAILURE);
    CMouseEmulator emulator;
    emulator.UseCalibration(calibration);
    EXPECT_EQ("-640,256", CursorAfter(emulator, 400, 125, Edges()));
    // Renumbered while running, the monitors' names swapped: the monitor decides.
    standin::RemoveDisplays();
    standin::AddDisplay(kSecond, 0, 0, 1024, 768, kPrimaryMonitor);
    standin::AddDisplay(kPrimary, -1280, -256, 1280, 1024, kSecondMonitor);
    emulator.ReadScreenSize();
    EXPECT_EQ("-640,256", CursorAfter(emulator, 400, 125, Edges()));
    EXPECT_EQ("", standin::Leaks());
}

TEST_F(MouseEmulatorTest, ACalibrationFollowsModeChangesAndFallsBackToThePrimaryDisplay) {
    standin::SetScreenSize(1024, 768);
    standin::AddDisplay(kPrimary, 0, 0, 1024, 768);
    standin::AddDisplay(kSecond, -1280, -256, 1280, 1024);
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 0);
    EXPECT_EQ("512,384", CursorAfter(emulator, 416, 128, Edges()));

    // The default again changes nothing: no reading, and the gun held still stays put.
    standin::ClearCalls();
    emulator.UseCalibration(DefaultCalibration());
    EXPECT_EQ(0, standin::CallCount());
    EXPECT_EQ("none", CursorAfter(emulator, 416, 128, Edges()));

    // A new calibration places the gun held still at once, after the move the click.
    emulator.UseCalibration(Skewed(kSecond));
    EXPECT_EQ("-1280,-256", CursorAfter(emulator, 200, 40, Edges(2)));
    EXPECT_EQ((std::vector<Fn>{Fn::SetCursorPos, Fn::mouse_event}), standin::Sequence());
    EXPECT_EQ("none", CursorAfter(emulator, 200, 40, Edges()));

    // The second display switches to 640 x 512, its top-left corner kept.
    standin::RemoveDisplays();
    standin::AddDisplay(kPrimary, 0, 0, 1024, 768);
    standin::AddDisplay(kSecond, -1280, -256, 640, 512);
    EXPECT_EQ("-640,256", CursorAfter(emulator, 400, 125, Edges())) << "not seen until the emulator is told";
    emulator.ReadScreenSize();
    EXPECT_EQ("-960,0", CursorAfter(emulator, 400, 125, Edges()));
    EXPECT_EQ("-644,252", CursorAfter(emulator, 600, 210, Edges()));
    EXPECT_EQ("", standin::Leaks());

    // The second display is gone: the primary, with the calibration's window.
    standin::RemoveDisplays();
    standin::AddDisplay(kPrimary, 0, 0, 1024, 768);
    emulator.ReadScreenSize();
    EXPECT_EQ("512,384", CursorAfter(emulator, 400, 125, Edges()));
    EXPECT_EQ("1020,764", CursorAfter(emulator, 600, 210, Edges()));

    // No display to be found at all, or none that answers: likewise.
    const std::function<void()> failures[] = {
        [] { standin::RemoveDisplays(); },
        [] { standin::FailCall(Fn::EnumDisplayMonitors, ERROR_GEN_FAILURE); },
        [] { standin::FailCall(Fn::GetMonitorInfoA, ERROR_GEN_FAILURE, 1); },
    };
    for (const auto& fail : failures) {
        standin::RemoveDisplays();
        standin::AddDisplay(kPrimary, 0, 0, 1024, 768);
        standin::AddDisplay(kSecond, -1280, -256, 1280, 1024);
        CMouseEmulator fresh;
        fail();
        fresh.UseCalibration(Skewed(kSecond));
        EXPECT_EQ("512,384", CursorAfter(fresh, 400, 125, Edges()));
        EXPECT_EQ("", standin::Leaks());
    }
}

// ---- play settings -----------------------------------------------------------

typedef std::vector<std::string> Lines;

// Placements and mouse events since the log was last cleared, each with its
// arguments that are not zero.
Lines Log() {
    const char* const names[] = {"move",        "left down", "left up", "right down", "right up",
                                 "middle down", "middle up", "x down",  "x up"};
    Lines out;
    for (int i = 0; i < standin::CallCount(); ++i) {
        const standin::Call& c = standin::CallAt(i);
        if (c.fn == Fn::SetCursorPos)
            out.push_back("at " + std::to_string(int(c.arg[0])) + "," + std::to_string(int(c.arg[1])));
        if (c.fn != Fn::mouse_event) continue;
        std::string line = c.arg[0] & (c.arg[0] - 1) ? "several flags" : names[__builtin_ctzl(c.arg[0])];
        for (int a = 1; a < 5; ++a)
            if (c.arg[a] != 0) line += " " + std::to_string(a) + ":" + std::to_string(int(c.arg[a]));
        out.push_back(line);
    }
    return out;
}

// One update: the raw position, the button bytes, and whether they are new
// (decoded after an idle report, so a single button's press is an edge).
struct Step {
    WORD rawX, rawY;
    BYTE byte0, byte1;
    bool pressed;
};

// The log of the updates through `steps`, then of Stop twice when `stop`.
Lines Steps(CMouseEmulator& emulator, const std::vector<Step>& steps, bool stop = false) {
    standin::ClearCalls();
    for (const Step& step : steps) {
        const GunReport report = {{step.byte0, step.byte1, 0, 0, 0, 0}};
        ButtonEdges edges;
        DecodeButtonEdges(report, step.pressed ? kIdleReport : report, edges);
        emulator.Update(step.rawX, step.rawY, edges);
    }
    for (int i = 0; stop && i < 2; ++i) emulator.ReleaseHeldButton();
    return Log();
}

TEST_F(MouseEmulatorTest, TheDefaultPlaySettingsSendWhatGlimmerdotAlwaysSent) {
    // Left "A", middle "Select", right "Start"; held bits ride along, which
    // only held buttons would read.
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 2, 1);
    emulator.UsePlaySettings(DefaultPlaySettings());
    EXPECT_EQ((Lines{"at 400,300", "left down", "left up", "right down", "right up", "left down", "left up",
                     "middle down", "middle up", "at 796,596", "left down", "left up"}),
              Steps(emulator,
                    {{416, 128, 0xFB, 0xFF, true}, {416, 128, 0xFB, 0xFF, false}, {1, 100, 0xFF, 0x7F, true},
                     {1, 100, 0xFB, 0xFF, true}, {416, 128, 0xFF, 0xBF, true}, {300, 5, 0xF0, 0x1F, true},
                     {672, 224, 0xFB, 0xFF, true}},
                    true));
}

TEST_F(MouseEmulatorTest, OffScreenTheCursorStandsOnACornerOfItsDisplayRawInputReadersGetAMovePair) {
    standin::SetScreenSize(1024, 768);
    standin::AddDisplay(kPrimary, 0, 0, 1024, 768);
    standin::AddDisplay(kSecond, -1280, -256, 1280, 1024);
    // Placed at each off-screen update, the click after; back at once, though
    // the gun returns where it was.
    const struct {
        PlaySettings play;
        const char* display;
        Lines log;
    } cases[] = {
        {{kOffScreenTopLeft, 0, 60, 0, 0, 0}, "", {"at 0,0", "left down", "at 0,0", "left up", "at 512,384"}},
        {{kOffScreenBottomRight, 0, 60, 0, 0, 0},
         kSecond,
         {"at -1,767", "left down", "at -1,767", "left up", "at -640,256"}},
        {{kOffScreenBottomRight, 0, 60, 1, 0, 0},
         "",
         {"at 1023,767", "move 1:1", "move 1:-1", "at 1023,767", "left down", "at 1023,767", "move 1:1", "move 1:-1",
          "at 1023,767", "left up", "at 512,384", "move 1:1", "move 1:-1", "at 512,384"}},
    };
    for (const auto& c : cases) {
        CMouseEmulator emulator;
        emulator.SetAssignments(3, 0, 0);
        emulator.UsePlaySettings(c.play);
        emulator.UseCalibration(Skewed(c.display));
        emulator.Update(400, 125, Edges());
        EXPECT_EQ(c.log, Steps(emulator, {{1, 100, 0xFB, 0xFF, true}, {300, 5, 0xFF, 0xFF, true},
                                          {400, 125, 0xFF, 0xFF, true}}));
    }
}

TEST_F(MouseEmulatorTest, OffScreenALeftPressIsARightOneUntilReleased) {
    for (BYTE buttons : {BYTE(kButtonsClick), BYTE(kButtonsHold)}) {
        SCOPED_TRACE(int(buttons));
        CMouseEmulator emulator;
        emulator.SetAssignments(3, 0, 4);
        emulator.UsePlaySettings({kOffScreenRightClick, buttons, 60, 0, 0, 0});
        emulator.Update(416, 128, Edges());
        // Pressed off screen, released on it; pressed on it, released off it.
        const Lines clicks = {"right down", "right up", "left down", "left up"};
        EXPECT_EQ(clicks, Steps(emulator,
                                {{1, 100, 0xFB, 0xFF, true}, {416, 128, 0xFB, 0xFF, false}, {416, 128, 0xFF, 0xFF, true},
                                 {416, 128, 0xFB, 0xFF, true}, {300, 5, 0xFB, 0xFF, false}, {300, 5, 0xFF, 0xFF, true}}))
            << "the cursor kept off screen";
        // A second press while the right button is down, then Stop.
        EXPECT_EQ(buttons == kButtonsClick ? clicks : (Lines{"right down", "right up"}),
                  Steps(emulator, {{1, 100, 0xFB, 0xFF, true}, {416, 128, 0xFB, 0xFF, true}}, true));
        // Held, "A" off screen and the right's own "B" together share one
        // right button (clicked, two at once are no press).
        if (buttons == kButtonsHold) {
            EXPECT_EQ((Lines{"right down", "right up"}),
                      Steps(emulator,
                            {{1, 100, 0xF3, 0xFF, true}, {1, 100, 0xF7, 0xFF, false}, {1, 100, 0xFF, 0xFF, false}},
                            true));
        }
    }
}

TEST_F(MouseEmulatorTest, HeldButtonsFollowTheirOwnBitsAndAllAreReleased) {
    // Left "A", middle "B", right "Start", X button 1 "C", X button 2 "D".
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 4, 1);
    emulator.UsePlaySettings({kOffScreenHold, kButtonsHold, 60, 0, 5, 6});
    emulator.Update(416, 128, Edges());
    EXPECT_EQ((Lines{"left down", "middle down", "left up", "left down", "right down", "x down 3:1", "x down 3:2",
                     "left up", "middle up", "right up", "x up 3:1", "x up 3:2"}),
              Steps(emulator,
                    {{416, 128, 0xFB, 0xFF, true}, {416, 128, 0xF3, 0xFF, true}, {416, 128, 0xF7, 0xFF, false},
                     {416, 128, 0xF1, 0x5F, true}},
                    true));

    // A Stop that arrives while the system hands a release to a hook (a
    // device change sent to the thread) releases nothing twice.
    Steps(emulator, {{416, 128, 0xF3, 0xFF, true}});
    standin::DuringNextMouseEvent([&emulator] { emulator.ReleaseHeldButton(); });
    EXPECT_EQ((Lines{"left up", "middle up"}), Steps(emulator, {}, true));

    // Clicked, the X buttons go down and up within the one update.
    emulator.UsePlaySettings({kOffScreenHold, kButtonsClick, 60, 0, 3, 4});
    EXPECT_EQ((Lines{"left down", "x down 3:1", "x up 3:1", "left up", "middle down", "middle up", "x down 3:2",
                     "x up 3:2"}),
              Steps(emulator, {{416, 128, 0xFB, 0xFF, true}, {416, 128, 0xF7, 0xFF, true}}));
}

}  // namespace
