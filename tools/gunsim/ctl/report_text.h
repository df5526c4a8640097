// A gun report as people write it: "B0 B1 X Y", button bytes in hex, position in decimal.
#pragma once

#include <windows.h>

#include <string>

#include "../gunsim_protocol.h"

typedef BYTE GunsimReport[GUNSIM_REPORT_SIZE];

// Reads four words starting at words[0]; on failure `error` says which word was wrong.
bool ParseReport(const std::string* words, GunsimReport& report, std::string& error);
std::string FormatReport(const GunsimReport& report);

// Decimal only, 0..limit; rejects signs, blanks and trailing junk.
bool ParseDecimal(const std::string& word, unsigned long limit, unsigned long& value);
