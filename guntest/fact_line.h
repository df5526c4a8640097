// A line of text the user reads: a static control's text, so that a screen
// reader and the tests read it too.
#pragma once

#include "framework/platform.h"
#include "guntest/fact_lines.h"

// The control and the text it shows now.
struct FactLine {
    int id;
    char shown[kFactTextSize];
};

// Sends `text` to the control only when it changed: each SetWindowText repaints it.
void ShowFact(HWND dialog, FactLine& line, const char* text);
