#include "calibration/calibration_store.h"

#include "calibration/calibration_format.h"
#include "calibration/registry_key.h"

namespace {

const char kSettingsKey[] = "SOFTWARE\\VEY\\Lumipoint";
const char kValueName[] = "Calibration";

}  // namespace

bool LoadCalibration(Calibration& out) {
    out = DefaultCalibration();
    RegistryKey key;
    if (!key.Keep(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_QUERY_VALUE, key.Receive()))) return false;
    BYTE bytes[kCalibrationValueSize];
    DWORD type = REG_NONE;
    DWORD size = sizeof bytes;
    // A longer value fails here with ERROR_MORE_DATA.
    if (RegQueryValueExA(key.Get(), kValueName, NULL, &type, bytes, &size) != ERROR_SUCCESS) return false;
    if (type != REG_BINARY) return false;
    return DecodeCalibration(bytes, size, out);
}

bool SaveCalibration(const Calibration& calibration) {
    RegistryKey key;
    DWORD disposition = 0;
    if (!key.Keep(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  NULL, key.Receive(), &disposition)))
        return false;
    BYTE bytes[kCalibrationValueSize];
    EncodeCalibration(calibration, bytes);
    return RegSetValueExA(key.Get(), kValueName, 0, REG_BINARY, bytes, sizeof bytes) == ERROR_SUCCESS;
}

bool ResetCalibration() {
    RegistryKey key;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_SET_VALUE, key.Receive());
    if (!key.Keep(opened)) return opened == ERROR_FILE_NOT_FOUND;
    const LONG deleted = RegDeleteValueA(key.Get(), kValueName);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}
