#include "calibration/calibration_format.h"

#include <cstring>

namespace {

const DWORD kWindowOffset = 4;
const DWORD kNameOffset = kWindowOffset + 4 * 4;

void PutDword(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

DWORD GetDword(const BYTE* at) {
    DWORD value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

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

}  // namespace

void EncodeCalibration(const Calibration& calibration, BYTE* bytes) {
    PutDword(bytes, kCalibrationFormatVersion);
    PutFloat(bytes + kWindowOffset, calibration.window.left);
    PutFloat(bytes + kWindowOffset + 4, calibration.window.right);
    PutFloat(bytes + kWindowOffset + 8, calibration.window.top);
    PutFloat(bytes + kWindowOffset + 12, calibration.window.bottom);
    // Whatever follows the name's terminator is written as zeros.
    std::memset(bytes + kNameOffset, 0, kDisplayNameSize);
    const size_t length = strnlen(calibration.display, kDisplayNameSize - 1);
    std::memcpy(bytes + kNameOffset, calibration.display, length);
}

bool DecodeCalibration(const BYTE* bytes, DWORD size, Calibration& calibration) {
    if (size != kCalibrationValueSize || GetDword(bytes) != kCalibrationFormatVersion) return false;
    if (std::memchr(bytes + kNameOffset, 0, kDisplayNameSize) == NULL) return false;
    Calibration read;
    read.window.left = GetFloat(bytes + kWindowOffset);
    read.window.right = GetFloat(bytes + kWindowOffset + 4);
    read.window.top = GetFloat(bytes + kWindowOffset + 8);
    read.window.bottom = GetFloat(bytes + kWindowOffset + 12);
    if (!IsUsableAimWindow(read.window)) return false;
    std::memcpy(read.display, bytes + kNameOffset, kDisplayNameSize);
    calibration = read;
    return true;
}
