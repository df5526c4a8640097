// What games need beyond plain clicks: chosen in Gun Test, kept as the value
// "Play" beside the settings, read by Glimmerdot at Start. With no value
// stored every choice is the default, which is Glimmerdot's behaviour
// without them.
#pragma once

#include "framework/platform.h"

// While the gun aims off the screen.
enum OffScreenChoice {
    kOffScreenHold = 0,         // the cursor stays where it was
    kOffScreenTopLeft = 1,      // the cursor stands on the display's top-left pixel
    kOffScreenBottomRight = 2,  // ... on its bottom-right pixel
    kOffScreenRightClick = 3,   // the buttons that drive left drive right instead
};
const int kOffScreenChoiceCount = 4;

enum ButtonChoice {
    kButtonsClick = 0,  // one press, one click
    kButtonsHold = 1,   // each mouse button down as long as its gun button
};
const int kButtonChoiceCount = 2;

// The poll timer's period in ms; the first is the default.
constexpr BYTE kAimPeriods[] = {60, 30, 15};
const int kAimPeriodCount = 3;

struct PlaySettings {
    BYTE offScreen;  // OffScreenChoice
    BYTE buttons;    // ButtonChoice
    BYTE periodMs;   // one of kAimPeriods
    BYTE rawInput;   // 1: a relative move pair after each placement, for raw-input readers
    BYTE x1;         // the gun button (a ButtonAssignment, 0..6) for mouse button 4
    BYTE x2;         // ... for mouse button 5
};

static_assert(sizeof(PlaySettings) == 6, "six one-byte choices, no padding");

// The stored bytes: a DWORD format version, then the six choices in the
// order above, one byte each; one exact size per version.
const DWORD kPlayFormatVersion = 1;
const DWORD kPlayValueSize = 4 + 6;

PlaySettings DefaultPlaySettings();
bool IsDefaultPlaySettings(const PlaySettings& play);
void EncodePlaySettings(const PlaySettings& play, BYTE* bytes);
// false for a size other than its version's, any other version, or a choice
// out of range; `play` is written only on success.
bool DecodePlaySettings(const BYTE* bytes, DWORD size, PlaySettings& play);

enum PlayLoad {
    kPlayDefault,    // no value stored
    kPlayStored,     // a well-formed value, now in `play`
    kPlayMalformed,  // a value that is not one, left as it is; `play` is the default
};

// Never writes.
PlayLoad LoadPlaySettings(PlaySettings& play);
// Creates the key if needed. A failure's registry result goes to `error` when given.
bool SavePlaySettings(const PlaySettings& play, LONG* error = NULL);
// Removes the value: back to the defaults. true when it is gone, also when there was none.
bool ResetPlaySettings(LONG* error = NULL);
