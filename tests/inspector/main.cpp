// inspector [--caption TEXT] [--pid N] [--timeout MS] COMMAND ARGS [+ COMMAND ARGS]...
// inspector [options] batch
//
// Looks at and drives a program's top-level window from another process, one
// command after another on the same window and process (a Wine start costs
// far more than a command). Prints one "word key=value ..." line per fact;
// exits 0 when every command succeeded, 1 at the first that did not.
// "batch" reads such lines, options too, from stdin ("quit" ends) and answers each
// with one line: "ok" and its lines joined by " | ", or "err REASON".
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdio>

#include "commands.h"
#include "output.h"

namespace {

struct Entry {
    const char* name;
    Command command;
    const char* usage;
};

const Entry kCommands[] = {
    {"window", CmdWindow, "the window: ids, styles, rect, client size in pixels and dialog units"},
    {"controls", CmdControls, "every child in tab order: id, class, styles, state, pixels, dialog units"},
    {"focus", CmdFocus, "the control that has the keyboard focus"},
    {"combo", CmdCombo, "ID: selection and item texts of a combo box (plain or extended)"},
    {"slider", CmdSlider, "ID: trackbar position and range"},
    {"text", CmdText, "ID...: each control's visibility, screen rectangle and text"},
    {"windows", CmdWindows, "top-level windows of the process"},
    {"wait", CmdWait, "enabled|shown ID 0|1 MS | text|textstart ID TEXT MS | focus ID MS | visible|iconic|foreground 0|1 MS | cursor X Y MS | gone MS | tick T MS"},
    {"click", CmdClick, "ID: BM_CLICK a button"},
    {"select", CmdSelect, "ID INDEX: pick a list item with the keyboard"},
    {"key", CmdKey, "NAME...: real key presses to the window (esc enter tab shift+tab ...)"},
    {"clickat", CmdClickAt, "ID|X,Y [left|right|double]: a real click at a control or screen point"},
    {"close", CmdClose, "the caption's close box (SC_CLOSE)"},
    {"ok", CmdOk, "an IDOK command"},
    {"minimize", CmdMinimize, "the caption's minimise box (SC_MINIMIZE)"},
    {"restore", CmdRestore, "the system menu's Restore (SC_RESTORE)"},
    {"cursor", CmdCursor, "the cursor position"},
    {"movecursor", CmdMoveCursor, "X Y [input]: place the cursor (through the input queue too)"},
    {"display", CmdDisplay, "[WIDTH HEIGHT]: the screen's mode, after changing it when given"},
    {"doubleclick", CmdDoubleClick, "the system's double-click time and area, and the tick count now"},
    {"mouseaccel", CmdMouseAccel, "[THRESHOLD1 THRESHOLD2 LEVEL]: the pointer's acceleration, after setting it"},
    {"record", CmdRecord, "MS [EVENTS] [moves]: mouse button events (and moves) seen by a low-level hook"},
    {"tray", CmdTray, "[wait COUNT MS]: the tray window and its icons"},
    {"trayclick", CmdTrayClick, "left|right|double [post]: click the first tray icon"},
    {"trayforget", CmdTrayForget, "drop the window's icons from the tray"},
    {"taskbarcreated", CmdTaskbarCreated, "broadcast the shell's TaskbarCreated message"},
    {"menu", CmdMenu, "wait for an open popup menu; print it and the program's menu items"},
    {"menupick", CmdMenuPick, "TEXT: choose an item of the open popup menu"},
    {"menuclose", CmdMenuClose, "close the open popup menu with Esc"},
    {"waitexit", CmdWaitExit, "MS: wait for the process to end"},
    {"waitidle", CmdWaitIdle, "MS: wait until the process waits for input (WaitForInputIdle)"},
    {"handles", CmdHandles, "the process's handle count, and how many of each kind"},
    {"terminate", CmdTerminate, "end the process at once"},
    {"running", CmdRunning, "NAME [wait COUNT MS]: processes whose file is NAME"},
    {"note", CmdNote, "FILE WORDS...: append a line to a file (a handler that logs its starts)"},
};

int Usage()
{
    std::fprintf(stderr, "usage: inspector [--caption TEXT] [--pid N] [--timeout MS] COMMAND ARGS [+ COMMAND ARGS]...\n");
    for (const Entry& entry : kCommands)
        std::fprintf(stderr, "  %-15s %s\n", entry.name, entry.usage);
    return 1;
}

bool Run(Session& session, const Args& words)
{
    if (words.empty())
        return Fail("no command");
    for (const Entry& entry : kCommands) {
        if (words[0] == entry.name)
            return entry.command(session, Args(words.begin() + 1, words.end()));
    }
    return Fail("unknown command " + Quoted(words[0]));
}

// Leading "--caption TEXT", "--pid N", "--timeout MS"; next is left at the command.
bool ParseOptions(const Args& words, size_t& next, Options& options)
{
    for (; next + 1 < words.size() && words[next].compare(0, 2, "--") == 0; next += 2) {
        long value = 0;
        if (words[next] == "--caption")
            options.caption = words[next + 1];
        else if (words[next] == "--pid" && ParseLong(words[next + 1], value))
            options.pid = static_cast<DWORD>(value);
        else if (words[next] == "--timeout" && ParseLong(words[next + 1], value))
            options.timeoutMs = static_cast<DWORD>(value);
        else
            return false;
    }
    return true;
}

// Runs "A ARGS + B ARGS ..." on one session; false at the first failure.
bool RunAll(Session& session, const Args& words)
{
    Args command;
    for (size_t i = 0; i <= words.size(); ++i) {
        if (i < words.size() && words[i] != "+") {
            command.push_back(words[i]);
            continue;
        }
        if (!Run(session, command))
            return false;
        command.clear();
    }
    return true;
}

// Words of a batch line; "double quotes" keep spaces.
Args SplitLine(const std::string& line)
{
    Args words;
    std::string word;
    bool quoted = false;
    bool any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return words;
}

int Batch(const Options& options)
{
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
        const Args words = SplitLine(buffer);
        if (words.empty())
            continue;
        if (words[0] == "quit")
            break;
        // Each line finds the window afresh (the program may have restarted)
        // and may set its own options.
        Options lineOptions = options;
        size_t next = 0;
        Capture capture;
        CaptureOutput(&capture);
        bool ok = ParseOptions(words, next, lineOptions) || Fail("bad options");
        Session session(lineOptions);
        ok = ok && RunAll(session, Args(words.begin() + static_cast<std::ptrdiff_t>(next), words.end()));
        CaptureOutput(nullptr);
        PrintLine(ok ? (capture.lines.empty() ? "ok" : "ok " + capture.lines) : "err " + capture.error);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    const Args words(argv + 1, argv + argc);
    size_t next = 0;
    if (!ParseOptions(words, next, options) || next >= words.size())
        return Usage();

    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&classes);

    if (words[next] == "batch")
        return Batch(options);
    Session session(options);
    return RunAll(session, Args(words.begin() + static_cast<std::ptrdiff_t>(next), words.end())) ? 0 : 1;
}
