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

// A monitor's device interface name, as EnumDisplayDevicesA gives it with
// EDD_GET_DEVICE_INTERFACE_NAME, fits in 128: it stays with the monitor while
// Windows renumbers the device names after a reboot, a driver update, docking.
const int kMonitorNameSize = 128;

struct Calibration {
    AimWindow window;
    char display[kDisplayNameSize];  // "" = the primary display
    char monitor[kMonitorNameSize];  // "" = not known: found by `display` alone
};

// The narrowest window a calibration may describe, per axis, in raw units.
const float kMinAimSpan = 32.0f;

// 160..672 x 32..224: the window the gun was made for.
AimWindow DefaultAimWindow();
// That window on the primary display.
Calibration DefaultCalibration();
// Each axis at least kMinAimSpan wide, not reversed, inside 0..65535, finite.
bool IsUsableAimWindow(const AimWindow& window);
bool SameAimWindow(const AimWindow& a, const AimWindow& b);
// The same window on the same display and monitor.
bool SameCalibration(const Calibration& a, const Calibration& b);
bool IsDefaultCalibration(const Calibration& calibration);
