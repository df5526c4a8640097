// The failures the simulated gun can show a reader: the NTSTATUS a read is
// completed with so that the reader sees a chosen Windows error, the target
// that makes opening the listed gun fail, and one open and read as a reader does.
#pragma once

#include <windows.h>

#include <string>

#include "owned.h"

// The errors offered, each checked under Wine: "2 22 31 55 995 1117".
extern const char kReadErrorsOffered[];
// FALSE when `error` is none of them.
bool ReadErrorStatus(unsigned long error, DWORD& ntStatus);
// The Windows error a status stands for, 0 for none (the reverse of the above).
unsigned long ReadErrorOf(DWORD ntStatus);

// A named pipe that refuses a reader's open (reading and writing) with error 5,
// held by `pipe`; its NT path into `ntPath`.
bool MakeRefusingTarget(OwnedFile& pipe, std::wstring& ntPath, std::string& error);

// Opens the gun's interface for reading and writing and reads one report:
// "read 6", "open error N" or "read error N".
std::string ProbeGun();
