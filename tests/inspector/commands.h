// Every subcommand: reads its arguments, prints its lines, true on success.
#pragma once

#include "session.h"

using Command = bool (*)(Session&, const Args&);

// Window and controls.
bool CmdWindow(Session&, const Args&);
bool CmdControls(Session&, const Args&);
bool CmdFocus(Session&, const Args&);
bool CmdCombo(Session&, const Args&);
bool CmdSlider(Session&, const Args&);
bool CmdText(Session&, const Args&);
bool CmdWindows(Session&, const Args&);
bool CmdWait(Session&, const Args&);

// Input as a user gives it.
bool CmdClick(Session&, const Args&);
bool CmdSelect(Session&, const Args&);
bool CmdKey(Session&, const Args&);
bool CmdClickAt(Session&, const Args&);
bool CmdClose(Session&, const Args&);
bool CmdOk(Session&, const Args&);
bool CmdMinimize(Session&, const Args&);
bool CmdRestore(Session&, const Args&);
bool CmdCursor(Session&, const Args&);
bool CmdMoveCursor(Session&, const Args&);
bool CmdDoubleClick(Session&, const Args&);
bool CmdMouseAccel(Session&, const Args&);

// The display mode.
bool CmdDisplay(Session&, const Args&);

// Mouse button events seen system-wide.
bool CmdRecord(Session&, const Args&);

// The notification area and its menu.
bool CmdTray(Session&, const Args&);
bool CmdTrayClick(Session&, const Args&);
bool CmdTrayForget(Session&, const Args&);
bool CmdTaskbarCreated(Session&, const Args&);
bool CmdMenu(Session&, const Args&);
bool CmdMenuPick(Session&, const Args&);
bool CmdMenuClose(Session&, const Args&);

// The process.
bool CmdWaitExit(Session&, const Args&);
bool CmdWaitIdle(Session&, const Args&);
bool CmdHandles(Session&, const Args&);
bool CmdTerminate(Session&, const Args&);
bool CmdRunning(Session&, const Args&);
bool CmdNote(Session&, const Args&);
