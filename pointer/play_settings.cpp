#include "pointer/play_settings.h"

#include <cstring>

#include "calibration/stored_value.h"

namespace {

const char kValueName[] = "Play";
const DWORD kChoicesOffset = 4;
const BYTE kLastAssignment = 6;

bool IsAimPeriod(BYTE ms) {
    for (int i = 0; i < kAimPeriodCount; ++i)
        if (kAimPeriods[i] == ms) return true;
    return false;
}

}  // namespace

PlaySettings DefaultPlaySettings() {
    const PlaySettings play = {kOffScreenHold, kButtonsClick, kAimPeriods[0], 0, 0, 0};
    return play;
}

bool IsDefaultPlaySettings(const PlaySettings& play) {
    const PlaySettings standard = DefaultPlaySettings();
    return std::memcmp(&play, &standard, sizeof play) == 0;
}

void EncodePlaySettings(const PlaySettings& play, BYTE* bytes) {
    PutDword(bytes, kPlayFormatVersion);
    BYTE* choices = bytes + kChoicesOffset;
    choices[0] = play.offScreen;
    choices[1] = play.buttons;
    choices[2] = play.periodMs;
    choices[3] = play.rawInput;
    choices[4] = play.x1;
    choices[5] = play.x2;
}

bool DecodePlaySettings(const BYTE* bytes, DWORD size, PlaySettings& play) {
    if (size != kPlayValueSize || GetDword(bytes) != kPlayFormatVersion) return false;
    const BYTE* choices = bytes + kChoicesOffset;
    if (choices[0] >= kOffScreenChoiceCount || choices[1] >= kButtonChoiceCount || !IsAimPeriod(choices[2]) ||
        choices[3] > 1 || choices[4] > kLastAssignment || choices[5] > kLastAssignment)
        return false;
    play.offScreen = choices[0];
    play.buttons = choices[1];
    play.periodMs = choices[2];
    play.rawInput = choices[3];
    play.x1 = choices[4];
    play.x2 = choices[5];
    return true;
}

PlayLoad LoadPlaySettings(PlaySettings& play) {
    play = DefaultPlaySettings();
    BYTE bytes[kPlayValueSize];
    DWORD size = sizeof bytes;
    const StoredValueState state = ReadStoredValue(kValueName, bytes, size);
    if (state == kValueAbsent) return kPlayDefault;
    return state == kValueRead && DecodePlaySettings(bytes, size, play) ? kPlayStored : kPlayMalformed;
}

bool SavePlaySettings(const PlaySettings& play, LONG* error) {
    BYTE bytes[kPlayValueSize];
    EncodePlaySettings(play, bytes);
    return WriteStoredValue(kValueName, bytes, sizeof bytes, error);
}

bool ResetPlaySettings(LONG* error) {
    return RemoveStoredValue(kValueName, error);
}
