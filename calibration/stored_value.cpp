#include "calibration/stored_value.h"

#include "calibration/registry_key.h"

namespace {
const char kSettingsKey[] = "SOFTWARE\\VEY\\Lumipoint";
}

StoredValueState ReadStoredValue(const char* name, BYTE* bytes, DWORD& size) {
    RegistryKey key;
    if (!key.Keep(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_QUERY_VALUE, key.Receive())))
        return kValueAbsent;
    DWORD type = REG_NONE;
    const LONG read = RegQueryValueExA(key.Get(), name, NULL, &type, bytes, &size);
    if (read == ERROR_MORE_DATA) return kValueMalformed;
    if (read != ERROR_SUCCESS) return kValueAbsent;
    return type == REG_BINARY ? kValueRead : kValueMalformed;
}

bool WriteStoredValue(const char* name, const BYTE* bytes, DWORD size) {
    RegistryKey key;
    DWORD disposition = 0;
    if (!key.Keep(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  NULL, key.Receive(), &disposition)))
        return false;
    return RegSetValueExA(key.Get(), name, 0, REG_BINARY, bytes, size) == ERROR_SUCCESS;
}

bool RemoveStoredValue(const char* name) {
    RegistryKey key;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_SET_VALUE, key.Receive());
    if (!key.Keep(opened)) return opened == ERROR_FILE_NOT_FOUND;
    const LONG deleted = RegDeleteValueA(key.Get(), name);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}
