#include "calibration/stored_value.h"

#include "calibration/registry_key.h"

namespace {

const char kSettingsKey[] = "SOFTWARE\\VEY\\Lumipoint";

bool Succeeded(LONG result, LONG* error) {
    if (error != NULL) *error = result;
    return result == ERROR_SUCCESS;
}

}  // namespace

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

bool WriteStoredValue(const char* name, const BYTE* bytes, DWORD size, LONG* error) {
    RegistryKey key;
    DWORD disposition = 0;
    const LONG created = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                         KEY_SET_VALUE, NULL, key.Receive(), &disposition);
    if (!key.Keep(created)) return Succeeded(created, error);
    return Succeeded(RegSetValueExA(key.Get(), name, 0, REG_BINARY, bytes, size), error);
}

bool RemoveStoredValue(const char* name, LONG* error) {
    RegistryKey key;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_SET_VALUE, key.Receive());
    LONG result = key.Keep(opened) ? RegDeleteValueA(key.Get(), name) : opened;
    if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    return Succeeded(result, error);
}
