#include <cstring>
#include <functional>
#include <limits>

#include "calibration/calibration_store.h"
#include "panel/settings_store.h"
#include "pointer/play_settings.h"
#include "standin_fixture.h"

using standin::Fn;

namespace {

const char kProduct[] = "SOFTWARE\\VEY\\Lumipoint";

// Junk in every field, so a load that forgets one shows.
ConverterSettings Junk() { return ConverterSettings{0x5A, 0x5A, 0x5A, 0x5A, 0x5A}; }

std::vector<BYTE> Bytes(std::initializer_list<BYTE> bytes) { return bytes; }

std::vector<BYTE> Block(const ConverterSettings& s) { return {s.left, s.middle, s.right, s.zero}; }

class SettingsStoreTest : public StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        standin::registry::CreateKey("SOFTWARE");
    }

    ConverterSettings Load() {
        ConverterSettings settings = Junk();
        LoadConverterSettings(settings);
        EXPECT_EQ("", standin::Leaks());
        return settings;
    }
};

TEST_F(SettingsStoreTest, FirstLoadCreatesTheKeyPathAndLoadsZeros) {
    ConverterSettings settings = Load();
    EXPECT_EQ(Bytes({0, 0, 0, 0}), Block(settings));
    EXPECT_EQ(0, settings.speed);
    EXPECT_TRUE(standin::registry::KeyExists(kProduct));
    EXPECT_EQ(0, standin::registry::ValueCount(kProduct));

    EXPECT_EQ((std::vector<Fn>{Fn::RegOpenKeyA, Fn::RegCreateKeyExA, Fn::RegCreateKeyExA, Fn::RegQueryValueExA,
                               Fn::RegQueryValueExA, Fn::RegCloseKey, Fn::RegCloseKey, Fn::RegCloseKey}),
              standin::Sequence());
    const standin::Call& software = *standin::Find(Fn::RegOpenKeyA);
    EXPECT_EQ(Addr(HKEY_LOCAL_MACHINE), software.arg[0]);
    EXPECT_STREQ("SOFTWARE", software.text);

    const char* names[] = {"VEY", "Lumipoint"};
    for (int i = 0; i < 2; ++i) {
        const standin::Call& create = *standin::Find(Fn::RegCreateKeyExA, i);
        EXPECT_STREQ(names[i], create.text);
        EXPECT_EQ(0u, create.arg[2]);
        EXPECT_EQ(0u, create.arg[3]);
        EXPECT_EQ(ULONG_PTR(REG_OPTION_NON_VOLATILE), create.arg[4]);
        EXPECT_EQ(0x2001Fu, create.arg[5]);
        EXPECT_EQ(0u, create.arg[6]);
        EXPECT_NE(0u, create.arg[8]);
    }
    // Each key is created under the one opened before it, read, and closed innermost first.
    const ULONG_PTR softwareKey = software.out;
    const ULONG_PTR makerKey = standin::Find(Fn::RegCreateKeyExA, 0)->out;
    const ULONG_PTR productKey = standin::Find(Fn::RegCreateKeyExA, 1)->out;
    EXPECT_EQ(softwareKey, standin::Find(Fn::RegCreateKeyExA, 0)->arg[0]);
    EXPECT_EQ(makerKey, standin::Find(Fn::RegCreateKeyExA, 1)->arg[0]);
    const char* values[] = {"Speed", "LumipointKey"};
    for (int i = 0; i < 2; ++i) {
        const standin::Call& query = *standin::Find(Fn::RegQueryValueExA, i);
        EXPECT_EQ(productKey, query.arg[0]);
        EXPECT_STREQ(values[i], query.text);
        EXPECT_EQ(0u, query.arg[2]);
        EXPECT_EQ(4u, query.structSize) << "a 4-byte buffer";
    }
    EXPECT_EQ(productKey, standin::Find(Fn::RegCloseKey, 0)->arg[0]);
    EXPECT_EQ(makerKey, standin::Find(Fn::RegCloseKey, 1)->arg[0]);
    EXPECT_EQ(softwareKey, standin::Find(Fn::RegCloseKey, 2)->arg[0]);
}

TEST_F(SettingsStoreTest, LoadsBlockAndSpeedWhateverTheirTypeAndLength) {
    struct Case {
        const char* name;
        DWORD blockType;
        std::vector<BYTE> block;  // empty: no value
        DWORD speedType;
        std::vector<BYTE> speed;
        std::vector<BYTE> expectedBlock;
        BYTE expectedSpeed;
    };
    const Case cases[] = {
        {"saved values", REG_DWORD, {3, 2, 4, 0}, REG_DWORD, {0x2C, 1, 0, 0}, {3, 2, 4, 0}, 44},
        {"no values", REG_DWORD, {}, REG_DWORD, {}, {0, 0, 0, 0}, 0},
        {"short block", REG_BINARY, {5, 6}, REG_DWORD, {9, 0, 0, 0}, {5, 6, 0, 0}, 9},
        {"long block", REG_BINARY, {1, 2, 3, 0, 7}, REG_DWORD, {9, 0, 0, 0}, {0, 0, 0, 0}, 9},
        {"text block", REG_SZ, {'A', 'B', 0}, REG_DWORD, {2, 0, 0, 0}, {'A', 'B', 0, 0}, 2},
        {"odd zero byte kept", REG_DWORD, {1, 2, 3, 9}, REG_DWORD, {120, 0, 0, 0}, {1, 2, 3, 9}, 120},
        {"one-byte speed", REG_DWORD, {1, 0, 0, 0}, REG_BINARY, {7}, {1, 0, 0, 0}, 7},
        {"long speed", REG_DWORD, {1, 0, 0, 0}, REG_BINARY, {7, 0, 0, 0, 0}, {1, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        standin::Reset();
        standin::registry::CreateKey(kProduct);
        if (!c.block.empty())
            standin::registry::SetValue(kProduct, "LumipointKey", c.blockType, c.block.data(),
                                        static_cast<DWORD>(c.block.size()));
        if (!c.speed.empty())
            standin::registry::SetValue(kProduct, "Speed", c.speedType, c.speed.data(),
                                        static_cast<DWORD>(c.speed.size()));
        ConverterSettings settings = Load();
        EXPECT_EQ(c.expectedBlock, Block(settings));
        EXPECT_EQ(c.expectedSpeed, settings.speed);
    }
}

TEST_F(SettingsStoreTest, ReadOnlyRegistryStillLoadsSavedChoices) {
    standin::registry::SetDword(kProduct, "LumipointKey", 0x00040203);
    standin::registry::SetDword(kProduct, "Speed", 60);
    standin::registry::DenyWrite("SOFTWARE");

    ConverterSettings settings = Load();
    EXPECT_EQ(Bytes({3, 2, 4, 0}), Block(settings));
    EXPECT_EQ(60, settings.speed);
    for (int i = 0; i < standin::CountOf(Fn::RegOpenKeyExA); ++i)
        EXPECT_EQ(ULONG_PTR(KEY_READ), standin::Find(Fn::RegOpenKeyExA, i)->arg[3]);
    EXPECT_EQ(2, standin::CountOf(Fn::RegOpenKeyExA));

    // Saving fails silently and changes nothing.
    SaveConverterSettings(ConverterSettings{1, 1, 1, 0, 2});
    EXPECT_EQ("", standin::Leaks());
    std::vector<BYTE> stored;
    ASSERT_TRUE(standin::registry::GetValue(kProduct, "LumipointKey", NULL, &stored));
    EXPECT_EQ(Bytes({3, 2, 4, 0}), stored);

    // Read-only and never saved: nothing to create, nothing loaded.
    standin::Reset();
    standin::registry::DenyWrite("SOFTWARE");
    settings = Load();
    EXPECT_EQ(Bytes({0, 0, 0, 0}), Block(settings));
    EXPECT_EQ(0, settings.speed);
    EXPECT_FALSE(standin::registry::KeyExists("SOFTWARE\\VEY"));
}

TEST_F(SettingsStoreTest, EveryFailingStepClosesWhatWasOpened) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        int expectedLeft;  // 7 when the saved value is still reached
    };
    const Case cases[] = {
        {"SOFTWARE does not open", [] { standin::registry::FailOpen("SOFTWARE", ERROR_ACCESS_DENIED); }, 0},
        {"maker key fails both ways", [] { standin::registry::FailOpen("SOFTWARE\\VEY", ERROR_ACCESS_DENIED); }, 0},
        {"product key fails both ways", [] { standin::registry::FailOpen(kProduct, ERROR_ACCESS_DENIED); }, 0},
        {"maker create fails, read-only open works",
         [] { standin::FailCall(Fn::RegCreateKeyExA, ERROR_ACCESS_DENIED); }, 7},
        {"product create fails, read-only open works",
         [] { standin::FailCall(Fn::RegCreateKeyExA, ERROR_ACCESS_DENIED, 1); }, 7},
        {"queries fail", [] {
             standin::FailCall(Fn::RegQueryValueExA, ERROR_GEN_FAILURE);
             standin::FailCall(Fn::RegQueryValueExA, ERROR_GEN_FAILURE);
         }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        standin::Reset();
        standin::registry::SetDword(kProduct, "LumipointKey", 7);
        standin::registry::SetDword(kProduct, "Speed", 30);
        c.arrange();
        ConverterSettings settings = Load();
        EXPECT_EQ(c.expectedLeft, settings.left);
        EXPECT_EQ(0, settings.middle);
        EXPECT_EQ(0, settings.zero);
        EXPECT_EQ(c.expectedLeft ? 30 : 0, settings.speed);
    }

    standin::Reset();
    standin::registry::FailOpen(kProduct, ERROR_ACCESS_DENIED);
    SaveConverterSettings(ConverterSettings{1, 0, 6, 0, 44});
    EXPECT_EQ(0, standin::CountOf(Fn::RegSetValueExA));
    EXPECT_EQ("", standin::Leaks());
}

TEST_F(SettingsStoreTest, SaveWritesTheBlockAndSpeedToTheExistingKey) {
    SaveConverterSettings(ConverterSettings{1, 0, 6, 0, 44});
    EXPECT_FALSE(standin::registry::KeyExists(kProduct)) << "saving never creates the key";
    EXPECT_EQ(0, standin::CountOf(Fn::RegSetValueExA));
    EXPECT_EQ("", standin::Leaks());

    standin::registry::CreateKey(kProduct);
    standin::ClearCalls();
    SaveConverterSettings(ConverterSettings{1, 0, 6, 0, 44});
    EXPECT_EQ((std::vector<Fn>{Fn::RegOpenKeyA, Fn::RegSetValueExA, Fn::RegSetValueExA, Fn::RegCloseKey}),
              standin::Sequence());
    const standin::Call& open = *standin::Find(Fn::RegOpenKeyA);
    EXPECT_EQ(Addr(HKEY_LOCAL_MACHINE), open.arg[0]);
    EXPECT_STREQ(kProduct, open.text);
    const char* names[] = {"LumipointKey", "Speed"};
    for (int i = 0; i < 2; ++i) {
        const standin::Call& set = *standin::Find(Fn::RegSetValueExA, i);
        EXPECT_STREQ(names[i], set.text);
        EXPECT_EQ(0u, set.arg[2]);
        EXPECT_EQ(ULONG_PTR(REG_DWORD), set.arg[3]);
        EXPECT_EQ(4u, set.arg[5]);
    }

    DWORD type = 0;
    std::vector<BYTE> bytes;
    ASSERT_TRUE(standin::registry::GetValue(kProduct, "LumipointKey", &type, &bytes));
    EXPECT_EQ(ULONG_PTR(REG_DWORD), type);
    EXPECT_EQ(Bytes({1, 0, 6, 0}), bytes);
    ASSERT_TRUE(standin::registry::GetValue(kProduct, "Speed", &type, &bytes));
    EXPECT_EQ(Bytes({44, 0, 0, 0}), bytes);
    EXPECT_EQ(2, standin::registry::ValueCount(kProduct));

    ConverterSettings loaded = Load();
    EXPECT_EQ(Bytes({1, 0, 6, 0}), Block(loaded));
    EXPECT_EQ(44, loaded.speed);
}

// ---- the calibration, a value of its own under the same key ----------------

// The stored layout, spelled out byte by byte: the version, the window's four
// floats, the display's name in 32 bytes, all little-endian; given a monitor
// (version 2's layout), the monitor's name in 128 more.
std::vector<BYTE> CalibrationBytes(DWORD version, float left, float right, float top, float bottom,
                                   const char* display, const char* monitor = NULL) {
    std::vector<BYTE> bytes(monitor != NULL ? 180 : 52, 0);
    const float window[4] = {left, right, top, bottom};
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(version >> (8 * i));
    std::memcpy(&bytes[4], window, sizeof window);  // the host is little-endian too
    std::memcpy(&bytes[20], display, std::strlen(display));
    if (monitor != NULL) std::memcpy(&bytes[52], monitor, std::strlen(monitor));
    return bytes;
}

const char kMonitor[] = "\\\\?\\DISPLAY#DEL40F6#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";

Calibration Skewed(const char* display, const char* monitor = "") {
    Calibration calibration;
    std::memset(&calibration, 0, sizeof calibration);
    calibration.window = AimWindow{200.0f, 600.0f, 39.666668f, 210.33333f};
    std::strcpy(calibration.display, display);
    std::strcpy(calibration.monitor, monitor);
    return calibration;
}

class CalibrationStoreTest : public SettingsStoreTest {
protected:
    // The settings' own values, which nothing about the calibration may touch.
    void SetUp() override {
        SettingsStoreTest::SetUp();
        standin::registry::SetDword(kProduct, "LumipointKey", 0x00040203);
        standin::registry::SetDword(kProduct, "Speed", 60);
    }
    void ExpectSettingsUntouched() {
        std::vector<BYTE> bytes;
        ASSERT_TRUE(standin::registry::GetValue(kProduct, "LumipointKey", NULL, &bytes));
        EXPECT_EQ(Bytes({3, 2, 4, 0}), bytes);
        ASSERT_TRUE(standin::registry::GetValue(kProduct, "Speed", NULL, &bytes));
        EXPECT_EQ(Bytes({60, 0, 0, 0}), bytes);
    }
    // Loads, expecting the default; nothing written, nothing left open.
    void ExpectDefaultLoad() {
        Calibration loaded = Skewed("junk");
        standin::ClearCalls();
        EXPECT_FALSE(LoadCalibration(loaded));
        const Calibration standard = DefaultCalibration();
        EXPECT_EQ(0, std::memcmp(&standard, &loaded, sizeof loaded));
        EXPECT_EQ(0, standin::CountOf(Fn::RegSetValueExA) + standin::CountOf(Fn::RegCreateKeyExA) +
                         standin::CountOf(Fn::RegDeleteValueA));
        EXPECT_EQ("", standin::Leaks());
    }
};

TEST_F(CalibrationStoreTest, SavesLoadsAndResetsBesideTheSettings) {
    ExpectDefaultLoad();

    const Calibration saved = Skewed("\\\\.\\DISPLAY2", kMonitor);
    ASSERT_TRUE(SaveCalibration(saved));
    DWORD type = 0;
    std::vector<BYTE> bytes;
    ASSERT_TRUE(standin::registry::GetValue(kProduct, "Calibration", &type, &bytes));
    EXPECT_EQ(DWORD(REG_BINARY), type);
    EXPECT_EQ(CalibrationBytes(2, 200.0f, 600.0f, 39.666668f, 210.33333f, "\\\\.\\DISPLAY2", kMonitor), bytes);
    ExpectSettingsUntouched();

    Calibration loaded = DefaultCalibration();
    standin::ClearCalls();
    ASSERT_TRUE(LoadCalibration(loaded));
    EXPECT_EQ(0, std::memcmp(&saved, &loaded, sizeof loaded)) << "the fractions come back to the bit";
    EXPECT_EQ(0, standin::CountOf(Fn::RegSetValueExA));
    const standin::Call& open = *standin::Find(Fn::RegOpenKeyExA);
    EXPECT_STREQ(kProduct, open.text);
    EXPECT_EQ(ULONG_PTR(KEY_QUERY_VALUE), open.arg[3]) << "read without asking to write";
    EXPECT_EQ("", standin::Leaks());

    // The primary display is stored as an empty name.
    ASSERT_TRUE(SaveCalibration(Skewed("")));
    ASSERT_TRUE(LoadCalibration(loaded));
    EXPECT_STREQ("", loaded.display);
    EXPECT_STREQ("", loaded.monitor);

    // A value of the first layout, as earlier versions stored it, loads
    // without a monitor, and loading leaves it in that layout.
    const std::vector<BYTE> first = CalibrationBytes(1, 200.0f, 600.0f, 39.666668f, 210.33333f, "\\\\.\\DISPLAY2");
    standin::registry::SetValue(kProduct, "Calibration", REG_BINARY, first.data(), 52);
    std::memset(&loaded, 0xEE, sizeof loaded);
    ASSERT_TRUE(LoadCalibration(loaded));
    EXPECT_EQ(0, std::memcmp(&saved.window, &loaded.window, sizeof loaded.window));
    EXPECT_STREQ("\\\\.\\DISPLAY2", loaded.display);
    EXPECT_STREQ("", loaded.monitor);
    ASSERT_TRUE(standin::registry::GetValue(kProduct, "Calibration", &type, &bytes));
    EXPECT_EQ(first, bytes);
    ASSERT_TRUE(SaveCalibration(saved));

    // Reset removes the value alone, and may be repeated.
    EXPECT_TRUE(ResetCalibration());
    EXPECT_FALSE(standin::registry::GetValue(kProduct, "Calibration", NULL, NULL));
    ExpectSettingsUntouched();
    EXPECT_TRUE(ResetCalibration());
    ExpectDefaultLoad();
    EXPECT_EQ("", standin::Leaks());

    // A first save creates the key; a reset with no key creates none.
    standin::Reset();
    standin::registry::CreateKey("SOFTWARE");
    EXPECT_TRUE(ResetCalibration());
    EXPECT_FALSE(standin::registry::KeyExists("SOFTWARE\\VEY"));
    ExpectDefaultLoad();
    EXPECT_FALSE(standin::registry::KeyExists("SOFTWARE\\VEY"));
    EXPECT_TRUE(SaveCalibration(saved));
    EXPECT_EQ(1, standin::registry::ValueCount(kProduct));

    // A write the registry refuses is reported, and leaves the value as it was.
    standin::FailCall(Fn::RegSetValueExA, ERROR_GEN_FAILURE);
    EXPECT_FALSE(SaveCalibration(Skewed("")));
    standin::FailCall(Fn::RegDeleteValueA, ERROR_GEN_FAILURE);
    EXPECT_FALSE(ResetCalibration());
    EXPECT_EQ("", standin::Leaks());

    // Without write access both writes say so and change nothing.
    standin::registry::DenyWrite("SOFTWARE");
    EXPECT_FALSE(SaveCalibration(Skewed("")));
    EXPECT_FALSE(ResetCalibration());
    ASSERT_TRUE(LoadCalibration(loaded));
    EXPECT_STREQ("\\\\.\\DISPLAY2", loaded.display);
    EXPECT_EQ("", standin::Leaks());
}

TEST_F(CalibrationStoreTest, EveryMalformedValueLoadsTheDefaultAndStaysAsItWas) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<BYTE> good = CalibrationBytes(1, 200, 600, 40, 210, "");
    std::vector<BYTE> unterminated = good;
    std::memset(&unterminated[20], 'A', 32);
    const std::vector<BYTE> second = CalibrationBytes(2, 200, 600, 40, 210, "\\\\.\\DISPLAY2", kMonitor);
    std::vector<BYTE> unterminatedMonitor = second;
    std::memset(&unterminatedMonitor[52], 'A', 128);
    auto resized = [](std::vector<BYTE> bytes, size_t size) {
        bytes.resize(size, 0);
        return bytes;
    };
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> bytes;
    };
    const Case cases[] = {
        {"a DWORD", REG_DWORD, {1, 0, 0, 0}},
        {"the right bytes as text", REG_SZ, good},
        {"the right bytes as a DWORD", REG_DWORD, good},
        {"empty", REG_BINARY, {}},
        {"one byte short", REG_BINARY, std::vector<BYTE>(good.begin(), good.end() - 1)},
        {"one byte long", REG_BINARY, [&good] { std::vector<BYTE> b = good; b.push_back(0); return b; }()},
        {"twice the size", REG_BINARY, [&good] { std::vector<BYTE> b = good; b.insert(b.end(), good.begin(), good.end()); return b; }()},
        {"version 0", REG_BINARY, CalibrationBytes(0, 200, 600, 40, 210, "")},
        {"version 2 at version 1's size", REG_BINARY, CalibrationBytes(2, 200, 600, 40, 210, "")},
        {"31 raw units across", REG_BINARY, CalibrationBytes(1, 200, 231, 40, 210, "")},
        {"31.5 raw units down", REG_BINARY, CalibrationBytes(1, 200, 600, 40, 71.5f, "")},
        {"reversed across", REG_BINARY, CalibrationBytes(1, 600, 200, 40, 210, "")},
        {"reversed down", REG_BINARY, CalibrationBytes(1, 200, 600, 210, 40, "")},
        {"below raw 0", REG_BINARY, CalibrationBytes(1, -1, 600, 40, 210, "")},
        {"above raw 65535", REG_BINARY, CalibrationBytes(1, 200, 65536, 40, 210, "")},
        {"NaN", REG_BINARY, CalibrationBytes(1, 200, 600, nan, 210, "")},
        {"infinite", REG_BINARY, CalibrationBytes(1, 200, inf, 40, 210, "")},
        {"a name without its end", REG_BINARY, unterminated},
        {"version 2, one byte short", REG_BINARY, resized(second, 179)},
        {"version 1 at version 2's size", REG_BINARY, CalibrationBytes(1, 200, 600, 40, 210, "", kMonitor)},
        {"version 3 at version 2's size", REG_BINARY, CalibrationBytes(3, 200, 600, 40, 210, "", kMonitor)},
        {"version 2, the monitor's name without its end", REG_BINARY, unterminatedMonitor},
        {"version 2, NaN", REG_BINARY, CalibrationBytes(2, 200, 600, 40, nan, "", kMonitor)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        standin::registry::SetValue(kProduct, "Calibration", c.type, c.bytes.data(),
                                    static_cast<DWORD>(c.bytes.size()));
        ExpectDefaultLoad();
        DWORD type = 0;
        std::vector<BYTE> stored;
        ASSERT_TRUE(standin::registry::GetValue(kProduct, "Calibration", &type, &stored));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(c.bytes, stored);
        ExpectSettingsUntouched();
    }

    // The same value made well-formed loads, so the cases above fail for their flaw alone.
    standin::registry::SetValue(kProduct, "Calibration", REG_BINARY, good.data(), 52);
    Calibration loaded;
    EXPECT_TRUE(LoadCalibration(loaded));
    standin::registry::SetValue(kProduct, "Calibration", REG_BINARY, second.data(), 180);
    EXPECT_TRUE(LoadCalibration(loaded));
    EXPECT_STREQ(kMonitor, loaded.monitor);

    // A key that cannot be opened, or a query that fails, is no calibration either.
    standin::FailCall(Fn::RegOpenKeyExA, ERROR_ACCESS_DENIED);
    ExpectDefaultLoad();
    standin::FailCall(Fn::RegQueryValueExA, ERROR_GEN_FAILURE);
    ExpectDefaultLoad();
    standin::Reset();
    ExpectDefaultLoad();
}

// ---- the play settings, a value of their own under the same key ----------

TEST_F(CalibrationStoreTest, PlaySettingsSaveLoadResetAndEveryMalformedShapeIsLeftAlone) {
    PlaySettings play;
    EXPECT_EQ(kPlayDefault, LoadPlaySettings(play));
    EXPECT_TRUE(IsDefaultPlaySettings(play));

    // Byte by byte, as the README documents it for reg add.
    const PlaySettings chosen = {kOffScreenBottomRight, kButtonsHold, 15, 1, 3, 6};
    ASSERT_TRUE(SavePlaySettings(chosen));
    DWORD type = 0;
    std::vector<BYTE> bytes;
    ASSERT_TRUE(standin::registry::GetValue(kProduct, "Play", &type, &bytes));
    EXPECT_EQ(DWORD(REG_BINARY), type);
    const std::vector<BYTE> good = Bytes({1, 0, 0, 0, 2, 1, 15, 1, 3, 6});
    EXPECT_EQ(good, bytes);
    ExpectSettingsUntouched();
    standin::ClearCalls();
    ASSERT_EQ(kPlayStored, LoadPlaySettings(play));
    EXPECT_EQ(0, std::memcmp(&chosen, &play, sizeof play));
    EXPECT_EQ(0, standin::CountOf(Fn::RegSetValueExA) + standin::CountOf(Fn::RegCreateKeyExA));
    EXPECT_EQ("", standin::Leaks());

    auto with = [&good](size_t at, BYTE value) {
        std::vector<BYTE> b = good;
        b[at] = value;
        return b;
    };
    const struct {
        const char* name;
        DWORD type;
        std::vector<BYTE> bytes;
    } malformed[] = {
        {"the right bytes as text", REG_SZ, good},
        {"one byte short", REG_BINARY, std::vector<BYTE>(good.begin(), good.end() - 1)},
        {"one byte long", REG_BINARY, [&good] { std::vector<BYTE> b = good; b.push_back(0); return b; }()},
        {"version 2", REG_BINARY, with(0, 2)},
        {"an off-screen choice past the last", REG_BINARY, with(4, 4)},
        {"a button choice past the last", REG_BINARY, with(5, 2)},
        {"a period of 20 ms", REG_BINARY, with(6, 20)},
        {"raw input 2", REG_BINARY, with(7, 2)},
        {"mouse button 4 on gun button 7", REG_BINARY, with(8, 7)},
        {"mouse button 5 on 255", REG_BINARY, with(9, 255)},
    };
    for (const auto& c : malformed) {
        SCOPED_TRACE(c.name);
        standin::registry::SetValue(kProduct, "Play", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        std::memset(&play, 0x5A, sizeof play);
        standin::ClearCalls();
        EXPECT_EQ(kPlayMalformed, LoadPlaySettings(play));
        EXPECT_TRUE(IsDefaultPlaySettings(play));
        EXPECT_EQ(0, standin::CountOf(Fn::RegSetValueExA) + standin::CountOf(Fn::RegDeleteValueA));
        std::vector<BYTE> stored;
        ASSERT_TRUE(standin::registry::GetValue(kProduct, "Play", &type, &stored));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(c.bytes, stored);
    }

    // Back to the defaults: the value goes, the settings stay.
    EXPECT_TRUE(ResetPlaySettings());
    EXPECT_FALSE(standin::registry::GetValue(kProduct, "Play", NULL, NULL));
    EXPECT_EQ(kPlayDefault, LoadPlaySettings(play));
    ExpectSettingsUntouched();
    EXPECT_EQ("", standin::Leaks());
}

}  // namespace
