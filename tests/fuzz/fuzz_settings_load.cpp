// Arbitrary registry contents, value types and sizes, read-only keys and
// failing registry calls under the settings load, then a save and reload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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

    standin::Reset();
    standin::SetRecording(false);
    standin::registry::CreateKey("SOFTWARE");
    const bool keyExists = flags & 1;
    const bool hasBlock = keyExists && (flags & 2);
    const bool hasSpeed = keyExists && (flags & 4);
    const bool readOnly = flags & 8;
    if (keyExists) standin::registry::CreateKey(kProduct);
    if (hasBlock) standin::registry::SetValue(kProduct, "LumipointKey", blockType, block, blockSize);
    if (hasSpeed) standin::registry::SetValue(kProduct, "Speed", speedType, speed, speedSize);
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
    return 0;
}
