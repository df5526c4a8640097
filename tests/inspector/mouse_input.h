// Real mouse input through the system's input queue, at the cursor.
#pragma once

#include <windows.h>

#include <string>

enum class ClickKind { Left, Right, Double };

// "left", "right" or "double"; false for anything else.
bool ParseClickKind(const std::string& text, ClickKind& kind);

// Presses and releases at the cursor; returns a tick count no earlier than
// any of the events' time stamps, so a test can space the next click by more
// than the double-click time.
DWORD SendClicks(ClickKind kind);

// A move by nothing, where the cursor is.
void SendMove();
