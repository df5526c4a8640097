// The calibration's stored bytes: a format version, the window's four
// floats and the display's name, then from version 2 on its monitor's
// interface name, little-endian, one exact size per version.
#pragma once

#include "calibration/calibration.h"
#include "framework/platform.h"

// Version 1 named the display alone; it still loads, with no monitor.
const DWORD kCalibrationFirstValueSize = 4 + 4 * 4 + kDisplayNameSize;
// What is written now: version 2, with the monitor.
const DWORD kCalibrationFormatVersion = 2;
const DWORD kCalibrationValueSize = kCalibrationFirstValueSize + kMonitorNameSize;

void EncodeCalibration(const Calibration& calibration, BYTE* bytes);
// false for a size other than its version's, any other version, a name
// without its terminator, or an unusable window; `calibration` is written
// only on success.
bool DecodeCalibration(const BYTE* bytes, DWORD size, Calibration& calibration);
