// Arbitrary registry contents, value types and sizes, read-only keys and
// failing registry calls under the settings load, then a save and reload;
// and an arbitrary calibration value beside them, loaded and never rewritten.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <cmath>
#include <vector>

#include "calibration/calibration_store.h"
#include "panel/settings_store.h"
#include "standin.h"

namespace {

const char kProduct[] = "SOFTWARE\\VEY\\Lumipoint";

void Check(bool condition) {
    if (!condition) abort();
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() {
        if (m_size == 0) return 0;
        --m_size;
        return *m_data++;
    }
    DWORD Dword() { return Byte() | Byte() << 8 | Byte() << 16 | static_cast<DWORD>(Byte()) << 24; }
    // A value's bytes: a length byte (up to 15) and then that many bytes.
    size_t Value(uint8_t* out) {
        size_t n = Byte() & 15;
        for (size_t i = 0; i < n; ++i) out[i] = Byte();
        return n;
    }
    // Up to 63 bytes, each XORed over `out`, so that a well-formed value
    // placed there first is often reached.
    size_t Overlay(uint8_t* out) {
        size_t n = Byte() & 63;
        for (size_t i = 0; i < n; ++i) out[i] ^= Byte();
        return n;
    }
private:
    const uint8_t* m_data;
    size_t m_size;
};

// One registry call that fails once, chosen by the input, or none.
bool InjectFailure(uint8_t choice) {
    const LONG error = (choice & 0x80) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
    switch (choice & 7) {
    case 1: standin::FailCall(standin::Fn::RegOpenKeyA, error); return true;
    case 2: standin::FailCall(standin::Fn::RegCreateKeyExA, error, choice >> 3 & 1); return true;
    case 3: standin::FailCall(standin::Fn::RegOpenKeyExA, error); return true;
    case 4: standin::FailCall(standin::Fn::RegQueryValueExA, error, choice >> 3 & 1); return true;
    default: return false;
    }
}

float FloatAt(const uint8_t* bytes) {
    float value;
    memcpy(&value, bytes, sizeof value);
    return value;
}

// The stored value's rules, spelled out apart from the code under test.
// Version 1 in 52 bytes, or version 2 in 180 with the monitor's name too.
bool WellFormedCalibration(DWORD type, const uint8_t* bytes, size_t size) {
    if (type != REG_BINARY || size < 4 || bytes[1] != 0 || bytes[2] != 0 || bytes[3] != 0) return false;
    if (!(bytes[0] == 1 && size == 52) && !(bytes[0] == 2 && size == 180)) return false;
    if (memchr(bytes + 20, 0, 32) == NULL) return false;
    if (size == 180 && memchr(bytes + 52, 0, 128) == NULL) return false;
    for (int axis = 0; axis < 2; ++axis) {
        const float low = FloatAt(bytes + 4 + 8 * axis), high = FloatAt(bytes + 8 + 8 * axis);
        if (!(low >= 0.0f && high <= 65535.0f && high - low >= 32.0f)) return false;  // NaN fails too
    }
    return true;
}

// Loads the calibration and checks it against the stored value, which it
// must leave exactly as it was.
void CheckCalibrationLoad(bool stored, DWORD type, const uint8_t* bytes, size_t size, bool injected) {
    Calibration loaded;
    memset(&loaded, 0xEE, sizeof loaded);
    const bool ok = LoadCalibration(loaded);
    Check(standin::OpenKeys() == 0 && standin::BadReleases() == 0);
    const bool expected = stored && WellFormedCalibration(type, bytes, size);
    Check(ok == expected || (injected && !ok));
    if (ok) {
        Check(memcmp(&loaded.window, bytes + 4, sizeof loaded.window) == 0);
        Check(memcmp(loaded.display, bytes + 20, sizeof loaded.display) == 0);
        Check(size == 180 ? memcmp(loaded.monitor, bytes + 52, sizeof loaded.monitor) == 0 : loaded.monitor[0] == 0);
    } else {
        const Calibration standard = DefaultCalibration();
        Check(memcmp(&loaded, &standard, sizeof loaded) == 0);
    }
    if (!stored) return;
    DWORD typeAfter = 0;
    std::vector<BYTE> after;
    Check(standin::registry::GetValue(kProduct, "Calibration", &typeAfter, &after));
    Check(typeAfter == type && after.size() == size && (size == 0 || memcmp(after.data(), bytes, size) == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const uint8_t flags = in.Byte();
    const uint8_t failure = in.Byte();
    const DWORD blockType = in.Dword();
    const DWORD speedType = in.Dword();
    uint8_t block[15], speed[15];
    const size_t blockSize = in.Value(block);
    const size_t speedSize = in.Value(speed);
    // A well-formed calibration (200..600 x 40..210, "\\.\DISPLAY2") to overlay.
    // With flag 0x80 version 2, its monitor named as Wine names one.
    uint8_t calibration[180] = {1, 0, 0, 0, 0, 0, 0x48, 0x43, 0, 0, 0x16, 0x44, 0, 0, 0x20, 0x42, 0, 0, 0x52, 0x43,
                                '\\', '\\', '.', '\\', 'D', 'I', 'S', 'P', 'L', 'A', 'Y', '2'};
    const bool second = flags & 0x80;
    if (second) {
        static const char kMonitor[] = "\\\\?\\DISPLAY#Default_Monitor#0000&0000#{E6F07B5F-EE97-4A90-B076-33F57BF4EAA7}";
        calibration[0] = 2;
        memcpy(calibration + 52, kMonitor, sizeof kMonitor);
    }
    const DWORD calibrationType = (flags & 0x20) ? in.Dword() : REG_BINARY;
    const size_t overlaid = in.Overlay(calibration);
    const size_t calibrationSize = (flags & 0x40) ? overlaid : second ? 180 : 52;

    standin::Reset();
    standin::SetRecording(false);
    standin::registry::CreateKey("SOFTWARE");
    const bool keyExists = flags & 1;
    const bool hasBlock = keyExists && (flags & 2);
    const bool hasSpeed = keyExists && (flags & 4);
    const bool readOnly = flags & 8;
    const bool hasCalibration = keyExists && (flags & 0x10);
    if (keyExists) standin::registry::CreateKey(kProduct);
    if (hasBlock) standin::registry::SetValue(kProduct, "LumipointKey", blockType, block, blockSize);
    if (hasSpeed) standin::registry::SetValue(kProduct, "Speed", speedType, speed, speedSize);
    if (hasCalibration)
        standin::registry::SetValue(kProduct, "Calibration", calibrationType, calibration,
                                    static_cast<DWORD>(calibrationSize));
    if (readOnly) standin::registry::DenyWrite("SOFTWARE");
    const bool injected = InjectFailure(failure);

    ConverterSettings settings;
    memset(&settings, 0xEE, sizeof settings);
    LoadConverterSettings(settings);
    Check(standin::OpenKeys() == 0 && standin::BadReleases() == 0);

    // What a clean load must give: the value's bytes from the front, the rest
    // zero; a value too long for the block loads as no value; likewise the speed.
    uint8_t expected[4] = {0, 0, 0, 0};
    if (hasBlock && blockSize <= 4) memcpy(expected, block, blockSize);
    const uint8_t expectedSpeed = (hasSpeed && speedSize >= 1 && speedSize <= 4) ? speed[0] : 0;
    const uint8_t* loaded = reinterpret_cast<const uint8_t*>(&settings);
    const uint8_t zero[4] = {0, 0, 0, 0};
    Check(memcmp(loaded, expected, 4) == 0 || (injected && memcmp(loaded, zero, 4) == 0));
    Check(settings.speed == expectedSpeed || (injected && settings.speed == 0));
    // Read-only or not, the saved choices load.
    if (!injected && keyExists) Check(memcmp(loaded, expected, 4) == 0 && settings.speed == expectedSpeed);
    // A failure queued above and not yet taken may fall on the calibration's load.
    CheckCalibrationLoad(hasCalibration, calibrationType, calibration, calibrationSize, injected);
    if (injected || readOnly) return 0;

    // Whatever was loaded saves and loads back unchanged.
    Check(standin::registry::KeyExists(kProduct));
    ConverterSettings chosen = {block[0], block[1], block[2], 0, speed[0]};
    SaveConverterSettings(chosen);
    ConverterSettings reloaded;
    memset(&reloaded, 0xEE, sizeof reloaded);
    LoadConverterSettings(reloaded);
    Check(memcmp(&reloaded, &chosen, sizeof chosen) == 0);
    Check(standin::OpenKeys() == 0 && standin::BadReleases() == 0);
    // Saving the settings leaves the calibration as it was.
    CheckCalibrationLoad(hasCalibration, calibrationType, calibration, calibrationSize, false);
    return 0;
}
