// The poll tick's cases, shared by the benchmark and the instruction count:
// what the gun does, and the play choices.
#pragma once

#include "pointer/play_settings.h"
#include "standin.h"

// 0: the gun rests, the common case; 1: it moves and clicks every tick, so
// every tick places the cursor and sends button events; 2: the same, off the
// screen every other tick.
inline void QueueTickTrace(int busy) {
    if (busy == 0) {
        standin::QueueReport(0xFF, 0xFF, 400, 128);
        return;
    }
    standin::QueueReport(0xFB, 0xFF, busy == 2 ? 1 : 300, 100);
    standin::QueueReport(0xFF, 0xFF, 420, 140);
    standin::QueueReport(0xFF, 0x7F, busy == 2 ? 1 : 520, 180);
    standin::QueueReport(0xFF, 0xFF, 620, 200);
}

const char* const kTickPlayNames[] = {"default", "corner", "rightclick", "hold", "rawinput", "xbuttons"};
const int kTickPlayCount = 6;

// The default, then one choice each: the bottom-right corner, the right
// click off screen, held buttons, raw-input readers, mouse buttons 4 and 5
// on "Start" and "A". The aim rate changes how often a tick runs, not what
// it costs.
inline PlaySettings TickPlay(int choice) {
    PlaySettings play = DefaultPlaySettings();
    if (choice == 1) play.offScreen = kOffScreenBottomRight;
    if (choice == 2) play.offScreen = kOffScreenRightClick;
    if (choice == 3) play.buttons = kButtonsHold;
    if (choice == 4) play.rawInput = 1;
    if (choice == 5) play.x1 = 1, play.x2 = 3;
    return play;
}
