// The calibration's stored bytes: a format version, the window's four
// floats and the display's name, little-endian, one exact size.
#pragma once

#include "calibration/calibration.h"
#include "framework/platform.h"

const DWORD kCalibrationFormatVersion = 1;
const DWORD kCalibrationValueSize = 4 + 4 * 4 + kDisplayNameSize;

void EncodeCalibration(const Calibration& calibration, BYTE* bytes);
// false for any other size or version, a name without its terminator, or an
// unusable window; `calibration` is written only on success.
bool DecodeCalibration(const BYTE* bytes, DWORD size, Calibration& calibration);
