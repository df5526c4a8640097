#include "panel/settings_store.h"

#include "calibration/registry_key.h"

namespace {

const DWORD kBlockSize = 4;  // left, middle, right, zero byte

BYTE* AssignmentBlock(ConverterSettings& settings) {
    return reinterpret_cast<BYTE*>(&settings);
}

const BYTE* AssignmentBlock(const ConverterSettings& settings) {
    return reinterpret_cast<const BYTE*>(&settings);
}

// Creates the key for reading and writing, so a first run leaves the path in
// place for saving. Without write access to the machine's registry that
// fails even for a key that exists; reading the saved choices must not.
bool OpenForLoad(HKEY parent, LPCSTR name, RegistryKey& key) {
    DWORD disposition = 0;
    if (key.Keep(RegCreateKeyExA(parent, name, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL,
                                 key.Receive(), &disposition)))
        return true;
    return key.Keep(RegOpenKeyExA(parent, name, 0, KEY_READ, key.Receive()));
}

void LoadValues(HKEY product, ConverterSettings& settings) {
    BYTE speed[4] = {0, 0, 0, 0};
    DWORD type = 0;
    DWORD size = sizeof speed;
    if (RegQueryValueExA(product, "Speed", NULL, &type, speed, &size) == ERROR_SUCCESS) settings.speed = speed[0];

    // Type and size are not checked: a shorter value fills the block from the
    // front. A failed query (above all a value too long for the block) leaves
    // the buffer undefined, so it counts as no value.
    size = kBlockSize;
    if (RegQueryValueExA(product, "LumipointKey", NULL, &type, AssignmentBlock(settings), &size) != ERROR_SUCCESS) {
        for (DWORD i = 0; i < kBlockSize; ++i) AssignmentBlock(settings)[i] = 0;
    }
}

}  // namespace

void LoadConverterSettings(ConverterSettings& settings) {
    settings.left = 0;
    settings.middle = 0;
    settings.right = 0;
    settings.zero = 0;
    settings.speed = 0;

    RegistryKey software;
    if (!software.Keep(RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE", software.Receive()))) return;
    RegistryKey maker;
    if (!OpenForLoad(software.Get(), "VEY", maker)) return;
    RegistryKey product;
    if (!OpenForLoad(maker.Get(), "Lumipoint", product)) return;
    LoadValues(product.Get(), settings);
}

void SaveConverterSettings(const ConverterSettings& settings) {
    RegistryKey key;
    if (!key.Keep(RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VEY\\Lumipoint", key.Receive()))) return;
    const DWORD speed = settings.speed;
    RegSetValueExA(key.Get(), "LumipointKey", 0, REG_DWORD, AssignmentBlock(settings), kBlockSize);
    RegSetValueExA(key.Get(), "Speed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&speed), sizeof speed);
}
