#include "guntest/fact_lines.h"

namespace {

// One decimal, as wsprintfA has no floats; a usable window is never negative.
struct Tenths {
    int whole;
    int tenth;
};

Tenths ToTenths(float value) {
    // NOLINTNEXTLINE(bugprone-incorrect-roundings): never negative, and a tenth is far coarser than the error
    const int tenths = static_cast<int>(static_cast<double>(value) * 10.0 + 0.5);
    return Tenths{tenths / 10, tenths % 10};
}

// Where an off-screen press lands, by OffScreenChoice.
const char* const kOffScreenWhere[kOffScreenChoiceCount] = {"where the cursor stays", "at the top-left corner",
                                                            "at the bottom-right corner", "where the cursor stays"};

// The play line's texts by PlayNote; the failures take the error.
const char* const kPlayNotes[] = {
    "Play settings: none stored; Glimmerdot uses the defaults",
    "Play settings: stored, as shown",
    "Play settings: the stored value is not valid, so Glimmerdot uses the defaults; Defaults removes it",
    "Play settings: saved; Glimmerdot uses them from its next Start",
    "Play settings: removed; Glimmerdot uses the defaults from its next Start",
    "Play settings: not saved: Windows error %ld",
    "Play settings: not removed: Windows error %ld",
};

}  // namespace

void FormatStatusLine(const CGunWatch& watch, char* text) {
    switch (watch.Status()) {
    case kGunFound:
        wsprintfA(text, "Gun found: %s", watch.DevicePath());
        return;
    case kGunUnplugged:
        wsprintfA(text, "Gun unplugged: plug it back in");
        return;
    case kGunReadFailed:
        wsprintfA(text, "Read failed: error %lu", static_cast<unsigned long>(watch.LastRead().error));
        return;
    case kGunReadsFailing:
        wsprintfA(text, "Reads keep failing: error %lu; looking for the gun again", static_cast<unsigned long>(watch.LastRead().error));
        return;
    case kGunRefused:
        // One literal on the call's line: the guide check reads the texts from here.
        wsprintfA(text, "Gun listed, but it does not open: error %lu (another program holds it, or its driver refuses access)", static_cast<unsigned long>(watch.OpenError()));
        return;
    case kGunShortRead:
        wsprintfA(text, "Short read: %lu of %u bytes", static_cast<unsigned long>(watch.LastRead().count),
                  static_cast<unsigned>(sizeof(GunReport)));
        return;
    case kGunNotFound:
        break;
    }
    wsprintfA(text, "No gun found: is the gun's driver installed and the gun plugged in?");
}

void FormatRawLine(const GunReport* report, char* text) {
    if (report == NULL) {
        wsprintfA(text, "Raw X -, Y -");
        return;
    }
    wsprintfA(text, "Raw X %u, Y %u", static_cast<unsigned>(ReportRawX(*report)),
              static_cast<unsigned>(ReportRawY(*report)));
}

void FormatButtonBytesLine(const GunReport* report, char* text) {
    if (report == NULL) {
        wsprintfA(text, "Button bytes -- --");
        return;
    }
    wsprintfA(text, "Button bytes %02X %02X", report->bytes[0], report->bytes[1]);
}

void FormatHeldLine(const GunReport* report, char* text) {
    if (report == NULL) {
        wsprintfA(text, "Held: -");
        return;
    }
    if (report->bytes[0] == kIdleReport.bytes[0] && report->bytes[1] == kIdleReport.bytes[1]) {
        wsprintfA(text, "Held: none");
        return;
    }
    const char* label = ButtonLabel(MatchButtonPattern(*report));
    if (label != NULL) {
        wsprintfA(text, "Held: %s", label);
        return;
    }
    wsprintfA(text, "Held: no assignable button (%02X %02X)", report->bytes[0], report->bytes[1]);
}

void FormatCursorLine(const GunReport* report, const AimScale& screen, char* text) {
    if (report == NULL) {
        wsprintfA(text, "Cursor -");
        return;
    }
    ScreenPoint cursor;
    if (!MapAimToScreen(screen, ReportRawX(*report), ReportRawY(*report), cursor)) {
        wsprintfA(text, "aimed off screen: the cursor stays");
        return;
    }
    wsprintfA(text, "Cursor %d, %d on %d x %d", cursor.x, cursor.y, screen.width, screen.height);
}

void FormatReadRateLine(int readsPerSecond, char* text) {
    wsprintfA(text, "Reads per second: %d", readsPerSecond);
}

void FormatSettingsLine(SettingsCopy copy, char* text) {
    switch (copy) {
    case kUserCopy:
        wsprintfA(text, "Settings: your copy kept by Windows (as administrator: the computer's)");
        return;
    case kComputerCopy:
        wsprintfA(text, "Settings: the computer's copy (without administrator: your own copy)");
        return;
    case kComputerCopyLocked:
        wsprintfA(text, "Settings: the computer's copy; saving may need Run as administrator");
        return;
    case kCopyUntold:
        break;
    }
    wsprintfA(text, "Settings: Windows does not say; before Vista, the computer's copy");
}

void FormatCalibrationLine(const Calibration& calibration, const char* note, char* text) {
    if (IsDefaultCalibration(calibration)) {
        wsprintfA(text, "Calibration: default window%s", note);
        return;
    }
    const AimWindow& w = calibration.window;
    const Tenths left = ToTenths(w.left), right = ToTenths(w.right), top = ToTenths(w.top), bottom = ToTenths(w.bottom);
    wsprintfA(text, "Calibration: X %d.%d..%d.%d, Y %d.%d..%d.%d on %s%s", left.whole, left.tenth, right.whole,
              right.tenth, top.whole, top.tenth, bottom.whole, bottom.tenth,
              calibration.display[0] != '\0' ? calibration.display : "primary display", note);
}

void FormatPressLine(const GunReport* report, const AimScale& screen, const PlaySettings& play, BYTE left, char* text) {
    const char* label = ButtonLabel(left - 1);
    if (report == NULL || label == NULL) {
        wsprintfA(text, label == NULL ? "A press: Glimmerdot puts no gun button on the left click" : "A press: -");
        return;
    }
    const bool hold = play.buttons == kButtonsHold;
    ScreenPoint cursor;
    if (MapAimToScreen(screen, ReportRawX(*report), ReportRawY(*report), cursor)) {
        wsprintfA(text, "Press %s now: left %s at %d, %d", label, hold ? "button held" : "click", cursor.x, cursor.y);
        return;
    }
    wsprintfA(text, "Press %s now, off screen: %s %s %s", label, play.offScreen == kOffScreenRightClick ? "right" : "left",
              hold ? "button held" : "click", kOffScreenWhere[play.offScreen]);
}

void FormatPlayLine(const PlayPanel& panel, char* text) {
    wsprintfA(text, kPlayNotes[panel.note], panel.error);
}
