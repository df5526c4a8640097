#include "report_text.h"

#include <stdio.h>

namespace {

// One or two hex digits, an optional 0x in front.
bool ParseHexByte(const std::string& word, BYTE& value)
{
    size_t at = 0;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
        at = 2;
    const size_t digits = word.size() - at;
    if (digits < 1 || digits > 2)
        return false;
    unsigned result = 0;
    for (; at < word.size(); ++at) {
        const char c = word[at];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        result = result * 16 + digit;
    }
    value = static_cast<BYTE>(result);
    return true;
}

}  // namespace

bool ParseDecimal(const std::string& word, unsigned long limit, unsigned long& value)
{
    if (word.empty() || word.size() > 10)
        return false;
    unsigned long long result = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        result = result * 10 + static_cast<unsigned>(c - '0');
    }
    if (result > limit)
        return false;
    value = static_cast<unsigned long>(result);
    return true;
}

bool ParseReport(const std::string* words, GunsimReport& report, std::string& error)
{
    BYTE buttons[2];
    for (int i = 0; i < 2; ++i) {
        if (!ParseHexByte(words[i], buttons[i])) {
            error = "button byte " + std::to_string(i) + " is not hex 00..FF: '" + words[i] + "'";
            return false;
        }
    }
    unsigned long position[2];
    for (int i = 0; i < 2; ++i) {
        if (!ParseDecimal(words[2 + i], 0xFFFF, position[i])) {
            error = std::string(i == 0 ? "X" : "Y") + " is not decimal 0..65535: '" + words[2 + i] + "'";
            return false;
        }
    }
    report[0] = buttons[0];
    report[1] = buttons[1];
    report[2] = static_cast<BYTE>(position[0] & 0xFF);
    report[3] = static_cast<BYTE>(position[0] >> 8);
    report[4] = static_cast<BYTE>(position[1] & 0xFF);
    report[5] = static_cast<BYTE>(position[1] >> 8);
    return true;
}

std::string FormatReport(const GunsimReport& report)
{
    char text[32];
    snprintf(text, sizeof(text), "%02X %02X %u %u", report[0], report[1],
             static_cast<unsigned>(report[2] | report[3] << 8),
             static_cast<unsigned>(report[4] | report[5] << 8));
    return text;
}
