// The gun's raw window that spans one display, and which display that is.
#pragma once

// The window the gun was made for, raw X 160..672 and Y 32..224: the default.
const int kAimLeft = 160;
const int kAimTop = 32;
const int kAimWidth = 512;
const int kAimHeight = 192;

// Raw X at the display's left and right edges, raw Y at its top and bottom
// edges; floats, so a fit between two whole raw aims loses no half unit.
struct AimWindow {
    float left;
    float right;
    float top;
    float bottom;
};

// Device names as GetMonitorInfoA gives them ("\\.\DISPLAY1") fit in 32 bytes.
const int kDisplayNameSize = 32;

struct Calibration {
    AimWindow window;
    char display[kDisplayNameSize];  // "" = the primary display
};

// The narrowest window a calibration may describe, per axis, in raw units.
const float kMinAimSpan = 32.0f;

// 160..672 x 32..224 on the primary display: the window the gun was made for.
Calibration DefaultCalibration();
// Each axis at least kMinAimSpan wide, not reversed, inside 0..65535, finite.
bool IsUsableAimWindow(const AimWindow& window);
bool SameAimWindow(const AimWindow& a, const AimWindow& b);
// The same window on the same display.
bool SameCalibration(const Calibration& a, const Calibration& b);
bool IsDefaultCalibration(const Calibration& calibration);
