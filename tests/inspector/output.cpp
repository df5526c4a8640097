#include "output.h"

#include <cstdio>

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

std::string RectText(const RECT& rect)
{
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

namespace {
Capture* g_capture = nullptr;
}

void CaptureOutput(Capture* capture)
{
    g_capture = capture;
}

void PrintLine(const std::string& line)
{
    if (g_capture != nullptr) {
        g_capture->lines += (g_capture->lines.empty() ? "" : " | ") + line;
        return;
    }
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool Fail(const std::string& message)
{
    if (g_capture != nullptr) {
        g_capture->error += (g_capture->error.empty() ? "" : "; ") + message;
        return false;
    }
    std::fprintf(stderr, "error: %s\n", message.c_str());
    std::fflush(stderr);
    return false;
}
