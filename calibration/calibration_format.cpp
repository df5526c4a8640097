#include "calibration/calibration_format.h"

#include <cstring>

#include "calibration/stored_value.h"

namespace {

const DWORD kWindowOffset = 4;
const DWORD kNameOffset = kWindowOffset + 4 * 4;
const DWORD kMonitorOffset = kNameOffset + kDisplayNameSize;

void PutFloat(BYTE* at, float value) {
    DWORD bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutDword(at, bits);
}

float GetFloat(const BYTE* at) {
    const DWORD bits = GetDword(at);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Whatever follows the name's terminator is written as zeros.
void PutName(BYTE* at, const char* name, int size) {
    std::memset(at, 0, size);
    std::memcpy(at, name, strnlen(name, size - 1));
}

bool IsTerminated(const BYTE* at, DWORD size) {
    return std::memchr(at, 0, size) != NULL;
}

}  // namespace

void EncodeCalibration(const Calibration& calibration, BYTE* bytes) {
    PutDword(bytes, kCalibrationFormatVersion);
    PutFloat(bytes + kWindowOffset, calibration.window.left);
    PutFloat(bytes + kWindowOffset + 4, calibration.window.right);
    PutFloat(bytes + kWindowOffset + 8, calibration.window.top);
    PutFloat(bytes + kWindowOffset + 12, calibration.window.bottom);
    PutName(bytes + kNameOffset, calibration.display, kDisplayNameSize);
    PutName(bytes + kMonitorOffset, calibration.monitor, kMonitorNameSize);
}

bool DecodeCalibration(const BYTE* bytes, DWORD size, Calibration& calibration) {
    // Each version has its one size, and its last name field ends the value:
    // the display's in version 1, the monitor's in version 2.
    const DWORD version = size >= 4 ? GetDword(bytes) : 0;
    const DWORD lastOffset = version == 1 ? kNameOffset : kMonitorOffset;
    const DWORD lastName = version == 1 ? kDisplayNameSize : kMonitorNameSize;
    if (version < 1 || version > kCalibrationFormatVersion || size != lastOffset + lastName) return false;
    if (!IsTerminated(bytes + kNameOffset, kDisplayNameSize) || !IsTerminated(bytes + lastOffset, lastName))
        return false;
    AimWindow window;
    window.left = GetFloat(bytes + kWindowOffset);
    window.right = GetFloat(bytes + kWindowOffset + 4);
    window.top = GetFloat(bytes + kWindowOffset + 8);
    window.bottom = GetFloat(bytes + kWindowOffset + 12);
    if (!IsUsableAimWindow(window)) return false;
    calibration.window = window;
    std::memcpy(calibration.display, bytes + kNameOffset, kDisplayNameSize);
    calibration.monitor[0] = '\0';
    if (version > 1) std::memcpy(calibration.monitor, bytes + kMonitorOffset, kMonitorNameSize);
    return true;
}
