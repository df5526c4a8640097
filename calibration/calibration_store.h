// The calibration kept as the value "Calibration" beside Glimmerdot's
// settings under HKLM\SOFTWARE\VEY\Lumipoint; the other values there are
// never touched.
#pragma once

#include "calibration/calibration.h"

// true, `out` filled, when a well-formed usable value is stored; otherwise
// false and `out` is the default. Never writes.
bool LoadCalibration(Calibration& out);
// Creates the key if needed.
bool SaveCalibration(const Calibration& calibration);
// Removes the value; true when it is gone, also when there was none.
bool ResetCalibration();
