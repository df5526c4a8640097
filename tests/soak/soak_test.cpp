// 100,000 poll ticks of random reports and random faults through the device
// link and the emulator, driven the way the dialog drives them: Start, Stop,
// assignment changes, unplugging, device-change reopenings, settings saves,
// calibrations saved and reset, a second display coming and going.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "calibration/calibration_store.h"
#include "gun/gun_device.h"
#include "panel/settings_store.h"
#include "pointer/mouse_emulator.h"
#include "standin.h"

using standin::Fn;

namespace {

const int kTicks = 100000;
const int kWidth = 1366;  // scales that round, unlike 800x600
const int kHeight = 768;
const BYTE kPatterns[10][2] = {{0xFF, 0x7F}, {0xFF, 0xBF}, {0xFB, 0xFF}, {0xF7, 0xFF}, {0xFD, 0xFF},
                               {0xFF, 0xDF}, {0xEF, 0xFF}, {0x7F, 0xFF}, {0xBF, 0xFF}, {0xDF, 0xFF}};
const BYTE kAssignments[] = {0, 1, 2, 3, 4, 5, 6, 7, 255};
const char kPrimary[] = "\\\\.\\DISPLAY1";
const char kSecond[] = "\\\\.\\DISPLAY2";
const RECT kSecondRect = {-1280, -256, 0, 768};  // left of and above the primary

struct Tally {
    long ticks = 0, polls = 0, moves = 0, leftClicks = 0, middleClicks = 0, rightClicks = 0;
    long unplugs = 0, reopenings = 0, failedOpens = 0, otherReadFaults = 0, shortReads = 0;
    long movesOnSecond = 0, calibrationChanges = 0, displayChanges = 0;
};

class Soak {
public:
    explicit Soak(unsigned seed) : m_random(seed) {}

    void Run() {
        // As the window does when it opens: load first, which creates the key.
        ConverterSettings initial;
        LoadConverterSettings(initial);
        StartConversion();
        for (int tick = 0; tick < kTicks && !::testing::Test::HasFatalFailure(); ++tick) {
            m_tick = tick;
            ++m_tally.ticks;
            if (Chance(0.002)) ChangeAssignments();
            if (Chance(0.0005)) SaveAndLoadSettings();
            if (Chance(0.001)) ChangeCalibration();
            if (Chance(0.0005)) ToggleSecondDisplay();
            if (!m_device.IsOpen() && Chance(0.05)) DeviceChangeNotice();
            if (m_running) PollTick();
            CheckResources();
        }
        // Ending the program releases a held left button.
        standin::ClearCalls();
        m_emulator.ReleaseHeldButton();
        CheckMouseEvents();
        EXPECT_FALSE(m_leftDown) << "left button left down at the end";
    }

    const Tally& tally() const { return m_tally; }

private:
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_random) < p; }
    int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(m_random); }

    std::string Where() const { return "tick " + std::to_string(m_tick); }

    // Stop, as every way of stopping does it: no timer, a held left button released.
    void StopConversion() {
        m_running = false;
        standin::ClearCalls();
        m_emulator.ReleaseHeldButton();
        CheckMouseEvents();
        ASSERT_FALSE(m_leftDown) << Where() << ": stopped with the left button down";
    }

    void StartConversion() {
        standin::ClearCalls();
        if (!OpenWithRandomFaults()) return;
        m_emulator.SetAssignments(m_left, m_middle, m_right);
        LoadCalibration(m_calibration);
        m_emulator.UseCalibration(m_calibration);
        FindBounds();
        m_running = true;
    }

    // Saved now, in force from the next Start: a skewed window on either
    // display, the default again, or a value that must be ignored.
    void ChangeCalibration() {
        ++m_tally.calibrationChanges;
        Calibration calibration = DefaultCalibration();
        calibration.window = AimWindow{200.0f, 600.0f, 39.5f, 210.25f};
        switch (Pick(0, 3)) {
        case 0: std::strcpy(calibration.display, kSecond); EXPECT_TRUE(SaveCalibration(calibration)); break;
        case 1: EXPECT_TRUE(SaveCalibration(calibration)); break;
        case 2: EXPECT_TRUE(ResetCalibration()); break;
        default: {
            const BYTE junk[52] = {2};
            standin::registry::SetValue("SOFTWARE\\VEY\\Lumipoint", "Calibration", REG_BINARY, junk, sizeof junk);
        }
        }
    }

    // As a display mode change tells the dialog.
    void ToggleSecondDisplay() {
        ++m_tally.displayChanges;
        m_secondPresent = !m_secondPresent;
        standin::RemoveDisplays();
        standin::AddDisplay(kPrimary, 0, 0, kWidth, kHeight);
        if (m_secondPresent)
            standin::AddDisplay(kSecond, kSecondRect.left, kSecondRect.top, kSecondRect.right - kSecondRect.left,
                                kSecondRect.bottom - kSecondRect.top);
        m_emulator.ReadScreenSize();
        FindBounds();
    }

    // The display the calibration read at the last Start puts the cursor on.
    void FindBounds() {
        const bool onSecond = m_secondPresent && std::strcmp(m_calibration.display, kSecond) == 0;
        m_bounds = onSecond ? kSecondRect : RECT{0, 0, kWidth, kHeight};
    }

    void ChangeAssignments() {
        StopConversion();
        m_left = kAssignments[Pick(0, 8)];
        m_middle = kAssignments[Pick(0, 8)];
        m_right = kAssignments[Pick(0, 8)];
        StartConversion();
    }

    // The notice finds the link closed: stop, reopen, and the user presses Start.
    void DeviceChangeNotice() {
        StopConversion();
        StartConversion();
        if (m_device.IsOpen()) ++m_tally.reopenings;
    }

    // The gun may be away, or one step of the enumeration and opening may fail.
    bool OpenWithRandomFaults() {
        const bool wasOpen = m_device.IsOpen() != FALSE;
        standin::SetDevicePresent(!Chance(0.2));
        if (Chance(0.2)) {
            const Fn steps[] = {Fn::SetupDiGetClassDevsA, Fn::SetupDiEnumDeviceInterfaces,
                                Fn::SetupDiGetDeviceInterfaceDetailA, Fn::LocalAlloc, Fn::CreateFileA};
            const int step = Pick(0, 4);
            // The detail call fails once by contract when asked for the size; fail the second one.
            const int skip = steps[step] == Fn::SetupDiGetDeviceInterfaceDetailA ? 1 : 0;
            if (!wasOpen) standin::SetDevicePresent(true);  // so the chosen step is reached
            if (!wasOpen) standin::FailCall(steps[step], ERROR_GEN_FAILURE, skip);
        }
        const BOOL opened = m_device.Open();
        if (!opened) ++m_tally.failedOpens;
        EXPECT_EQ(opened, m_device.IsOpen()) << Where();
        EXPECT_EQ(opened ? 1 : 0, standin::OpenFileHandles()) << Where();
        return opened != FALSE;
    }

    // TRUE when the read queued is the gun being pulled out.
    bool QueueRandomRead() {
        const int kind = Pick(0, 99);
        if (kind < 3) {
            standin::QueueReadFailure(ERROR_DEVICE_NOT_CONNECTED);
            ++m_tally.unplugs;
            return true;
        } else if (kind < 6) {
            const DWORD errors[] = {ERROR_GEN_FAILURE, ERROR_INVALID_HANDLE, ERROR_ACCESS_DENIED};
            standin::QueueReadFailure(errors[Pick(0, 2)]);
            ++m_tally.otherReadFaults;
        } else if (kind < 8) {
            const BYTE bytes[6] = {0xFB, 0xFF, 0, 1, 0, 1};
            standin::QueueRead(bytes, static_cast<DWORD>(Pick(0, 5)));
            ++m_tally.shortReads;
        } else {
            BYTE b0 = 0xFF, b1 = 0xFF;
            const int buttons = Pick(0, 99);
            if (buttons < 35) {
                const int p = Pick(0, 9);
                b0 = kPatterns[p][0];
                b1 = kPatterns[p][1];
            } else if (buttons < 50) {
                b0 = static_cast<BYTE>(Pick(0, 255));
                b1 = static_cast<BYTE>(Pick(0, 255));
            }
            WORD x, y;
            const int where = Pick(0, 99);
            if (where < 70) {
                x = static_cast<WORD>(Pick(160, 672));
                y = static_cast<WORD>(Pick(32, 224));
            } else if (where < 80) {
                x = Chance(0.5) ? 1 : static_cast<WORD>(Pick(160, 672));
                y = x == 1 ? static_cast<WORD>(Pick(0, 300)) : 5;
            } else {
                x = static_cast<WORD>(Pick(0, 65535));
                y = static_cast<WORD>(Pick(0, 65535));
            }
            standin::QueueReport(b0, b1, x, y);
        }
        return false;
    }

    void PollTick() {
        standin::ClearCalls();
        const bool unplugged = m_device.IsOpen() && QueueRandomRead();
        WORD x = 0, y = 0;
        ButtonEdges edges;
        const BOOL polled = m_device.Poll(x, y, edges);
        if (unplugged) {
            EXPECT_FALSE(m_device.IsOpen()) << Where() << ": the link stays open on a pulled-out gun";
            EXPECT_EQ(0, standin::OpenFileHandles()) << Where() << ": the pulled-out gun's handle stays open";
        }
        if (polled) {
            ++m_tally.polls;
            m_emulator.Update(x, y, edges);
        } else {
            EXPECT_EQ(0, standin::CountOf(Fn::SetCursorPos)) << Where() << ": moved on a failed poll";
            EXPECT_EQ(0, standin::CountOf(Fn::mouse_event)) << Where() << ": clicked on a failed poll";
        }
        CheckCursor();
        CheckMouseEvents();
    }

    void CheckCursor() {
        for (int n = 0; const standin::Call* call = standin::Find(Fn::SetCursorPos, n); ++n) {
            const int x = static_cast<int>(call->arg[0]), y = static_cast<int>(call->arg[1]);
            ASSERT_TRUE(x >= m_bounds.left && x <= m_bounds.right - 4 && y >= m_bounds.top &&
                        y <= m_bounds.bottom - 4)
                << Where() << ": cursor placed at " << x << "," << y;
            ++m_tally.moves;
            if (m_bounds.left < 0) ++m_tally.movesOnSecond;
        }
    }

    // The left button alternates down and up; middle and right are whole clicks.
    void CheckMouseEvents() {
        DWORD pendingUp = 0;
        for (int n = 0; const standin::Call* call = standin::Find(Fn::mouse_event, n); ++n) {
            const DWORD flags = static_cast<DWORD>(call->arg[0]);
            ASSERT_EQ(0u, call->arg[1] | call->arg[2]) << Where() << ": a button event that moves";
            if (pendingUp != 0) {
                ASSERT_EQ(pendingUp, flags) << Where() << ": middle or right down without its up";
                pendingUp = 0;
                continue;
            }
            switch (flags) {
            case MOUSEEVENTF_LEFTDOWN:
                ASSERT_FALSE(m_leftDown) << Where() << ": two left-downs without an up";
                m_leftDown = true;
                break;
            case MOUSEEVENTF_LEFTUP:
                ASSERT_TRUE(m_leftDown) << Where() << ": left-up without a down";
                m_leftDown = false;
                ++m_tally.leftClicks;
                break;
            case MOUSEEVENTF_MIDDLEDOWN:
                pendingUp = MOUSEEVENTF_MIDDLEUP;
                ++m_tally.middleClicks;
                break;
            case MOUSEEVENTF_RIGHTDOWN:
                pendingUp = MOUSEEVENTF_RIGHTUP;
                ++m_tally.rightClicks;
                break;
            default:
                FAIL() << Where() << ": unexpected mouse event flags " << flags;
            }
        }
        ASSERT_EQ(0u, pendingUp) << Where() << ": click cut in half";
    }

    void SaveAndLoadSettings() {
        ConverterSettings saved = {m_left, m_middle, m_right, 0, static_cast<BYTE>(Pick(2, 120))};
        const bool fault = Chance(0.5);
        if (fault) standin::FailCall(Pick(0, 1) ? Fn::RegOpenKeyA : Fn::RegCreateKeyExA, ERROR_ACCESS_DENIED);
        SaveConverterSettings(saved);
        ConverterSettings loaded;
        LoadConverterSettings(loaded);
        if (!fault) {
            EXPECT_EQ(saved.left, loaded.left) << Where();
            EXPECT_EQ(saved.speed, loaded.speed) << Where();
        }
        EXPECT_EQ(0, standin::OpenKeys()) << Where() << ": registry key left open";
    }

    void CheckResources() {
        ASSERT_LE(standin::OpenFileHandles(), 1) << Where();
        ASSERT_EQ(m_device.IsOpen() ? 1 : 0, standin::OpenFileHandles()) << Where();
        ASSERT_EQ(0, standin::OpenDeviceInfoLists()) << Where();
        ASSERT_EQ(0, standin::LiveLocalAllocs()) << Where();
        ASSERT_EQ(0, standin::HeldDCs()) << Where();
        ASSERT_EQ(0, standin::OpenKeys()) << Where();
        ASSERT_EQ(0, standin::ReadsLeft()) << Where() << ": a scripted read was not taken";
    }

    std::mt19937 m_random;
    Calibration m_calibration = DefaultCalibration();
    bool m_secondPresent = true;
    RECT m_bounds = {0, 0, kWidth, kHeight};
    CMouseEmulator m_emulator;
    CGunDevice m_device;
    BYTE m_left = 3, m_middle = 1, m_right = 4;
    bool m_running = false;
    bool m_leftDown = false;
    int m_tick = 0;
    Tally m_tally;
};

TEST(Soak, RandomReportsAndFaultsKeepTheCursorInsideTheButtonsPairedAndNothingOpen) {
    standin::Reset();
    standin::SetScreenSize(kWidth, kHeight);
    standin::AddDisplay(kPrimary, 0, 0, kWidth, kHeight);
    standin::AddDisplay(kSecond, kSecondRect.left, kSecondRect.top, kSecondRect.right - kSecondRect.left,
                        kSecondRect.bottom - kSecondRect.top);
    standin::registry::CreateKey("SOFTWARE");
    const unsigned seed = 20261208;
    SCOPED_TRACE("seed " + std::to_string(seed));
    Tally tally;
    {
        Soak soak(seed);
        soak.Run();
        tally = soak.tally();
    }
    EXPECT_EQ("", standin::Leaks());
    EXPECT_EQ(0, standin::DroppedCalls());
    // The run must have gone through every road, or it proves little.
    EXPECT_EQ(kTicks, tally.ticks);
    EXPECT_GT(tally.polls, kTicks / 3);
    EXPECT_GT(tally.unplugs, 500);
    EXPECT_GT(tally.reopenings, 500);
    EXPECT_GT(tally.failedOpens, 100);
    EXPECT_GT(tally.otherReadFaults, 500);
    EXPECT_GT(tally.shortReads, 500);
    EXPECT_GT(tally.leftClicks, 500);
    EXPECT_GT(tally.middleClicks, 500);
    EXPECT_GT(tally.rightClicks, 500);
    EXPECT_GT(tally.movesOnSecond, 1000);
    EXPECT_GT(tally.calibrationChanges, 50);
    EXPECT_GT(tally.displayChanges, 20);
    RecordProperty("polls", static_cast<int>(tally.polls));
}

}  // namespace
