// One fact per line, as "word key=value ... text=\"...\"", flushed at once so
// that a test reading a background inspector sees each line as it comes.
#pragma once

#include <windows.h>

#include <string>

std::string Quoted(const std::string& text);
std::string Hex(DWORD value);
std::string RectText(const RECT& rect);
void PrintLine(const std::string& line);
// Prints "error: ..." on stderr; always false, so commands can return it.
bool Fail(const std::string& message);

// While a capture is set, lines and errors are collected instead of printed
// (batch mode answers each command with one line).
struct Capture {
    std::string lines;
    std::string error;
};
void CaptureOutput(Capture* capture);
