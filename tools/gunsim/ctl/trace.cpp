// The trace format, one report per line:
//
//     B0 B1 X Y MS
//
// B0 and B1 are the button bytes in hex, active low (FF FF: nothing pressed,
// FB FF: "A" down); X and Y the raw position in decimal, 0..65535; MS how long,
// in decimal milliseconds, this report stays before the next line's replaces it.
// '#' starts a comment; blank lines are skipped. After the last line its report
// stays in place.
//
//     FF FF 160 32 500    # top left, nothing pressed, for half a second
//     FB FF 160 32 120    # "A" pressed there
#include "trace.h"

#include "owned.h"
#include "utf8.h"
#include "words.h"

bool ParseTrace(const std::string& text, std::vector<TraceStep>& steps, std::string& error)
{
    steps.clear();
    size_t lineNumber = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        ++lineNumber;
        const std::vector<std::string> words = SplitWords(text.substr(at, end - at));
        at = end + 1;
        if (words.empty())
            continue;

        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (words.size() != 5) {
            error = where + "expected 'B0 B1 X Y MS', got " + std::to_string(words.size()) + " words";
            return false;
        }
        TraceStep step;
        std::string reportError;
        if (!ParseReport(&words[0], step.report, reportError)) {
            error = where + reportError;
            return false;
        }
        unsigned long holdMs;
        if (!ParseDecimal(words[4], 3600000, holdMs)) {
            error = where + "MS is not decimal 0..3600000: '" + words[4] + "'";
            return false;
        }
        step.holdMs = holdMs;
        steps.push_back(step);
    }
    if (steps.empty()) {
        error = "the trace holds no report";
        return false;
    }
    return true;
}

bool LoadTrace(const std::string& path, std::vector<TraceStep>& steps, std::string& error)
{
    OwnedFile file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file.IsValid()) {
        error = "cannot open trace '" + path + "'";
        return false;
    }
    std::string text;
    char chunk[4096];
    DWORD got;
    while (ReadFile(file.Get(), chunk, sizeof(chunk), &got, NULL) && got > 0)
        text.append(chunk, got);
    if (!ParseTrace(text, steps, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
