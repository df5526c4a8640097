#include "device_registry.h"

#include <windows.h>

#include "owned.h"
#include "../gunsim_protocol.h"

namespace {

#define CLASS_KEY "System\\CurrentControlSet\\Control\\DeviceClasses\\" GUNSIM_INTERFACE_GUID_TEXT
#define INTERFACE_KEY CLASS_KEY "\\##?#ROOT#GUNSIM#0000#" GUNSIM_INTERFACE_GUID_TEXT
#define ENUM_KEY "System\\CurrentControlSet\\Enum\\ROOT\\GUNSIM"

const char kInstanceId[] = "ROOT\\GUNSIM\\0000";
// Wine's SetupDi skips an instance whose Enum key names no setup class; any will do.
const char kSystemDeviceClass[] = "{4d36e97d-e325-11ce-bfc1-08002be10318}";

bool CreateKey(const char* path, OwnedKey& key, std::string& error)
{
    const LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, NULL, key.Receive(), NULL);
    if (result != ERROR_SUCCESS) {
        error = std::string("cannot create HKLM\\") + path + " (error " + std::to_string(result) + ")";
        return false;
    }
    return true;
}

bool SetString(const OwnedKey& key, const char* name, const char* value, std::string& error)
{
    const LONG result = RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                       static_cast<DWORD>(lstrlenA(value)) + 1);
    if (result != ERROR_SUCCESS) {
        error = std::string("cannot set ") + name + " (error " + std::to_string(result) + ")";
        return false;
    }
    return true;
}

bool SetDword(const OwnedKey& key, const char* name, DWORD value, std::string& error)
{
    const LONG result = RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                       sizeof(value));
    if (result != ERROR_SUCCESS) {
        error = std::string("cannot set ") + name + " (error " + std::to_string(result) + ")";
        return false;
    }
    return true;
}

bool DeleteKey(const char* path, std::string& error)
{
    const LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        error = std::string("cannot delete HKLM\\") + path + " (error " + std::to_string(result) + ")";
        return false;
    }
    return true;
}

}  // namespace

bool RegisterInterface(std::string& error)
{
    OwnedKey instance;
    OwnedKey interfaceKey;
    OwnedKey reference;
    if (!CreateKey(ENUM_KEY "\\0000", instance, error) ||
        !SetString(instance, "ClassGUID", kSystemDeviceClass, error) ||
        !CreateKey(INTERFACE_KEY, interfaceKey, error) ||
        !SetString(interfaceKey, "DeviceInstance", kInstanceId, error) ||
        !CreateKey(INTERFACE_KEY "\\#", reference, error) ||
        !SetString(reference, "SymbolicLink", GUNSIM_INTERFACE_PATH, error))
        return false;
    return SetInterfaceLinked(true, error);
}

bool SetInterfaceLinked(bool linked, std::string& error)
{
    OwnedKey control;
    return CreateKey(INTERFACE_KEY "\\#\\Control", control, error) &&
           SetDword(control, "Linked", linked ? 1 : 0, error);
}

bool UnregisterInterface(std::string& error)
{
    // Deepest first: RegDeleteKeyA leaves a key that still has subkeys.
    return DeleteKey(INTERFACE_KEY "\\#\\Control", error) && DeleteKey(INTERFACE_KEY "\\#", error) &&
           DeleteKey(INTERFACE_KEY, error) && DeleteKey(CLASS_KEY, error) &&
           DeleteKey(ENUM_KEY "\\0000", error) && DeleteKey(ENUM_KEY, error);
}
