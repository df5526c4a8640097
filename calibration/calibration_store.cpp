#include "calibration/calibration_store.h"

#include "calibration/calibration_format.h"
#include "calibration/stored_value.h"

namespace {
const char kValueName[] = "Calibration";
}

bool LoadCalibration(Calibration& out) {
    out = DefaultCalibration();
    BYTE bytes[kCalibrationValueSize];
    DWORD size = sizeof bytes;
    return ReadStoredValue(kValueName, bytes, size) == kValueRead && DecodeCalibration(bytes, size, out);
}

bool SaveCalibration(const Calibration& calibration) {
    BYTE bytes[kCalibrationValueSize];
    EncodeCalibration(calibration, bytes);
    return WriteStoredValue(kValueName, bytes, sizeof bytes);
}

bool ResetCalibration() {
    return RemoveStoredValue(kValueName);
}
