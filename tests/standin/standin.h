// Test control of the Win32 stand-in: what the platform calls answer, what
// they were called with, and what is still open afterwards.
#pragma once

#include "win32_standin.h"

#include <functional>
#include <string>
#include <vector>

namespace standin {

enum class Fn {
    GetLastError, SetLastError, CreateFileA, ReadFile, CloseHandle, LocalAlloc, LocalFree,
    SetupDiGetClassDevsA, SetupDiEnumDeviceInterfaces, SetupDiGetDeviceInterfaceDetailA,
    SetupDiDestroyDeviceInfoList,
    GetDesktopWindow, GetDC, ReleaseDC, GetDeviceCaps, SetCursorPos, mouse_event,
    EnumDisplayMonitors, GetMonitorInfoA, EnumDisplayDevicesA,
    RegOpenKeyA, RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA, RegSetValueExA, RegDeleteValueA, RegCloseKey,
    GetModuleHandleA, GetProcAddress, ChangeWindowMessageFilterEx, ChangeWindowMessageFilter, GetDpiForWindow,
    OpenProcessToken, GetTokenInformation,
    GetTickCount, RegisterDeviceNotificationA, UnregisterDeviceNotification,
};
const char* Name(Fn fn);

const int kMaxArgs = 9;
const int kTextSize = 160;
const int kDataSize = 16;

// One platform call as the code under test made it.
struct Call {
    Fn fn;
    int argCount;
    ULONG_PTR arg[kMaxArgs];  // every argument in signature order; pointers as addresses
    char text[kTextSize];     // the call's string argument (path, sub key, value name), if any
    DWORD structSize;         // cbSize of the structure passed in, as it stood at the call
    DWORD dataSize;           // bytes handed to RegSetValueExA / bytes a read delivered
    BYTE data[kDataSize];     // their first bytes
    ULONG_PTR result;         // what the call returned
    ULONG_PTR out;            // the key an open or create call handed back; the handle a registration names
};

// Back to a machine with one gun present, an 800x600 screen, an empty
// registry, nothing open, nothing recorded, recording on.
void Reset();

// Recording off makes every call free of bookkeeping beyond resource tracking.
void SetRecording(bool on);
int CallCount();
const Call& CallAt(int index);
void ClearCalls();
// The recorded functions in order, without GetLastError/SetLastError.
std::vector<Fn> Sequence();
int CountOf(Fn fn);
// The nth recorded call of fn, or NULL.
const Call* Find(Fn fn, int nth = 0);
// Calls beyond the log's fixed capacity are counted here and not stored.
int DroppedCalls();

// The next call of fn after `skip` further calls of it fails with `error`
// (one shot; several may be queued). Applies to every function that can fail.
void FailCall(Fn fn, DWORD error, int skip = 0);

// The gun as the setup API and the file system see it.
void SetDevicePresent(bool present);
void SetDevicePath(const char* path);
// Size the detail size query reports, instead of the one the path needs.
void OverrideDetailSize(DWORD size);

// Scripted reads, answered in order. With looping on the script restarts
// when used up; otherwise a read past its end fails with ERROR_GEN_FAILURE.
void QueueReport(BYTE button0, BYTE button1, WORD rawX, WORD rawY);
void QueueRead(const BYTE* bytes, DWORD count);
void QueueReadFailure(DWORD error);
void SetReadLooping(bool on);
int ReadsLeft();

void SetScreenSize(int width, int height);

// What GetTickCount answers; 0 until set.
void SetTickCount(DWORD now);

// Runs once inside the next mouse_event, after it is recorded, as a message
// sent to the thread while the system hands the event to a low-level hook.
void DuringNextMouseEvent(std::function<void()> action);

// Which message-filter entry points user32 exports: both until told (Windows
// 7 and later); the per-process one alone on Vista; neither before. A call
// through one is recorded under its name.
void SetMessageFilterExports(bool perWindow, bool perProcess);

// What GetDpiForWindow answers, 96 until told; 0 for a user32 without it
// (before Windows 10 1607).
void SetWindowDpi(UINT dpi);

// What the process token answers for TokenElevation and
// TokenVirtualizationEnabled; as it comes, a run without administrator rights
// that Windows virtualizes. The token is a handle CloseHandle must release.
void SetToken(bool elevated, bool virtualized);

// The displays EnumDisplayMonitors lists. Until one is added there is one,
// "\\.\DISPLAY1", primary, at 0,0 and of the screen's size, showing
// kImplicitMonitor; the first one added replaces it. The first display added
// is the primary one. `monitor` is the interface name EnumDisplayDevicesA
// gives for the display's one monitor; "" for a display without a monitor.
void AddDisplay(const char* name, int left, int top, int width, int height, const char* monitor = "");
extern const char kImplicitMonitor[];
// No display at all, as while every one is being switched.
void RemoveDisplays();

// Resource tracking.
int OpenDeviceInfoLists();
int OpenFileHandles();
int LiveLocalAllocs();
int HeldDCs();
int OpenKeys();
int DeviceNotifications();
// Closes, frees and releases of something that was not open.
int BadReleases();
// Everything above that is still open, in words; empty when nothing leaked.
std::string Leaks();

// The in-memory registry under HKEY_LOCAL_MACHINE. Paths are relative to it,
// compared without regard to case, as on Windows.
namespace registry {
void CreateKey(const char* path);
bool KeyExists(const char* path);
void SetValue(const char* path, const char* name, DWORD type, const void* data, DWORD size);
void SetDword(const char* path, const char* name, DWORD value);
// FALSE when the key or value does not exist.
bool GetValue(const char* path, const char* name, DWORD* type, std::vector<BYTE>* bytes);
int ValueCount(const char* path);
// The key and everything below it become read-only for us: opens that ask
// for write access fail with ERROR_ACCESS_DENIED, RegOpenKeyA grants read
// access only, and no sub key can be created beneath it.
void DenyWrite(const char* path);
// Every open or create of exactly this key fails with `error`.
void FailOpen(const char* path, LONG error);
}  // namespace registry

}  // namespace standin
