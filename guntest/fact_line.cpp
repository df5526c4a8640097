#include "guntest/fact_line.h"

#include <cstring>

void ShowFact(HWND dialog, FactLine& line, const char* text)
{
    if (std::strcmp(line.shown, text) == 0)
        return;
    ::SetDlgItemTextA(dialog, line.id, text);
    // cppcheck-suppress lstrcpynACalled ; bounded by the buffer's size, and always terminated
    ::lstrcpynA(line.shown, text, kFactTextSize);
}
