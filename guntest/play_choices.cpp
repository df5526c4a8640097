#include "guntest/play_choices.h"

#include "calibration/stored_value.h"

namespace {

const char* const kItems[kPlayChoiceCount] = {
    "Hold the cursor|Top-left corner|Bottom-right corner|Right click",
    "Click|Hold",
    "60 ms|30 ms|15 ms",
    NULL,
    "|Start|Select|A|B|C|D",
    "|Start|Select|A|B|C|D",
};

PlayPanel Panel(const PlaySettings& play, PlayNote note, LONG error) {
    const PlayPanel panel = {play, note, error};
    return panel;
}

}  // namespace

void PlayToChoices(const PlaySettings& play, int* choices) {
    const BYTE* fields = reinterpret_cast<const BYTE*>(&play);
    for (int i = 0; i < kPlayChoiceCount; ++i) choices[i] = fields[i];
    for (int i = 0; i < kAimPeriodCount; ++i)
        if (kAimPeriods[i] == play.periodMs) choices[2] = i;
}

PlaySettings PlayFromChoices(const int* choices) {
    PlaySettings play = DefaultPlaySettings();
    BYTE* fields = reinterpret_cast<BYTE*>(&play);
    for (int i = 0; i < kPlayChoiceCount; ++i) fields[i] = static_cast<BYTE>(choices[i]);
    play.periodMs = kAimPeriods[choices[2]];
    return play;
}

const char* PlayChoiceItems(int index) {
    return kItems[index];
}

PlayPanel LoadPlayPanel() {
    PlaySettings play;
    const PlayLoad load = LoadPlaySettings(play);
    return Panel(play, load == kPlayStored ? kPlayShownStored : load == kPlayDefault ? kPlayNoneStored : kPlayShownMalformed,
                 ERROR_SUCCESS);
}

PlayPanel SavePlayPanel(const PlaySettings& chosen) {
    LONG error = ERROR_SUCCESS;
    const bool saved = SavePlaySettings(chosen, &error);
    return Panel(chosen, saved ? kPlaySaved : kPlayNotSaved, error);
}

PlayPanel RemovePlayPanel(const PlaySettings& shown) {
    LONG error = ERROR_SUCCESS;
    if (!ResetPlaySettings(&error)) return Panel(shown, kPlayNotRemoved, error);
    return Panel(DefaultPlaySettings(), kPlayRemoved, error);
}

BYTE ReadGlimmerdotLeft() {
    // As Glimmerdot reads it: any type, the first byte of up to four.
    BYTE block[4] = {0, 0, 0, 0};
    DWORD size = sizeof block;
    if (ReadStoredValue("LumipointKey", block, size) == kValueAbsent || size == 0 || size > sizeof block) return 0;
    return block[0];
}
