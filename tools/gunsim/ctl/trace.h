// Trace files: a sequence of gun reports, each held for a time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "report_text.h"

struct TraceStep {
    GunsimReport report;
    DWORD holdMs;
};

// `path` in UTF-8. On failure `error` names the file's line and what is wrong with it.
bool LoadTrace(const std::string& path, std::vector<TraceStep>& steps, std::string& error);
bool ParseTrace(const std::string& text, std::vector<TraceStep>& steps, std::string& error);
