// Gun Test's place for the play settings: what its controls offer, what the
// panel shows after loading, saving or removing the value, and which gun
// button Glimmerdot's saved choices put on the left click.
#pragma once

#include "framework/platform.h"
#include "pointer/play_settings.h"

// The controls in the order of PlaySettings' fields: a list's selection, or
// the check box's state for the raw-input readers.
const int kPlayChoiceCount = 6;
void PlayToChoices(const PlaySettings& play, int* choices);
PlaySettings PlayFromChoices(const int* choices);
// The items of choice `index`'s list, separated by '|', or NULL for the check box.
const char* PlayChoiceItems(int index);

enum PlayNote {
    kPlayNoneStored,
    kPlayShownStored,
    kPlayShownMalformed,  // left alone: the controls show the defaults Glimmerdot uses
    kPlaySaved,
    kPlayRemoved,
    kPlayNotSaved,
    kPlayNotRemoved,
};

// What the controls show and the line under them says.
struct PlayPanel {
    PlaySettings play;
    PlayNote note;
    LONG error;  // the registry's result, for the two failures
};

PlayPanel LoadPlayPanel();
// A failure keeps `chosen` on the controls, unsaved.
PlayPanel SavePlayPanel(const PlaySettings& chosen);
// A failure keeps `shown` on the controls.
PlayPanel RemovePlayPanel(const PlaySettings& shown);

// Glimmerdot's saved gun button (1..6) for the left click, 0 for none; read
// without creating or writing anything.
BYTE ReadGlimmerdotLeft();
