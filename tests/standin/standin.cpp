// The stand-in's state and the Win32 calls answering from it. The calls the
// poll tick makes (ReadFile, GetLastError, SetCursorPos, mouse_event) touch
// only fixed-size state, so they never allocate.
#include "standin.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <new>
#include <set>
#include <strings.h>

namespace standin {
namespace {

const char kDefaultDevicePath[] = "\\\\?\\root#gunsim#0000#{1f6c1aaa-0919-4a8d-b0cd-68566229de66}";
const DWORD kDetailFixedSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
const int kLogCapacity = 512;
// Longer than any path the code keeps, so cutting one short can be tested.
const int kDevicePathCapacity = 512;
const int kFailureCapacity = 16;
const int kReadCapacity = 64;

struct Failure {
    Fn fn;
    DWORD error;
    int skip;
};

struct ScriptedRead {
    BOOL ok;
    DWORD error;
    BYTE bytes[8];
    DWORD count;
};

struct Value {
    std::string name;
    DWORD type;
    std::vector<BYTE> bytes;
};

struct Key {
    std::string name;                     // as first created
    std::map<std::string, Value> values;  // by lower-case name
    bool denyWrite = false;
    LONG openError = ERROR_SUCCESS;
};

struct OpenKey {
    std::string path;  // lower case; "" is HKEY_LOCAL_MACHINE itself
    REGSAM access;
};

struct Display {
    char name[CCHDEVICENAME];
    char monitor[128];
    RECT rect;
};

const int kDisplayCapacity = 8;

struct State {
    bool recording = true;
    Call log[kLogCapacity];
    int logCount = 0;
    int dropped = 0;

    Failure failures[kFailureCapacity];
    int failureCount = 0;

    DWORD lastError = 0;

    bool devicePresent = true;
    char devicePath[kDevicePathCapacity] = {};
    bool detailSizeOverridden = false;
    DWORD detailSize = 0;

    ScriptedRead reads[kReadCapacity];
    int readCount = 0;
    int readNext = 0;
    bool readLooping = false;

    bool exportsWindowFilter = true;
    bool exportsProcessFilter = true;
    UINT windowDpi = 96;
    bool tokenElevated = false;
    bool tokenVirtualized = true;
    std::set<ULONG_PTR> tokens;
    DWORD tickCount = 0;
    std::function<void()> duringMouseEvent;

    int screenWidth = 800;
    int screenHeight = 600;
    // Empty until a test adds one: then one primary display of the screen's size.
    Display displays[kDisplayCapacity];
    int displayCount = 0;
    bool displaysSet = false;

    ULONG_PTR nextHandle = 0x1000;
    std::set<ULONG_PTR> deviceInfoLists;
    std::set<ULONG_PTR> fileHandles;
    std::set<void*> localAllocs;
    std::set<ULONG_PTR> deviceNotifications;
    int heldDCs = 0;
    std::map<ULONG_PTR, OpenKey> openKeys;
    int badReleases = 0;

    std::map<std::string, Key> keys;  // by lower-case path
};

State& S() {
    static State* state = new State();
    return *state;
}

Call g_scratch;

Call& Record(Fn fn, std::initializer_list<ULONG_PTR> args) {
    State& s = S();
    if (!s.recording) return g_scratch;
    if (s.logCount == kLogCapacity) {
        ++s.dropped;
        return g_scratch;
    }
    Call& call = s.log[s.logCount++];
    std::memset(&call, 0, sizeof call);
    call.fn = fn;
    for (ULONG_PTR a : args) {
        if (call.argCount < kMaxArgs) call.arg[call.argCount++] = a;
    }
    return call;
}

void SetText(Call& call, const char* text) {
    if (text == NULL) return;
    std::strncpy(call.text, text, kTextSize - 1);
    call.text[kTextSize - 1] = '\0';
}

void SetData(Call& call, const void* data, DWORD size) {
    call.dataSize = size;
    if (data != NULL) std::memcpy(call.data, data, std::min<DWORD>(size, kDataSize));
}

ULONG_PTR P(const void* p) { return reinterpret_cast<ULONG_PTR>(p); }

// Takes a queued failure for fn, if one is due now.
// Closing something that is not open counts as a bad release, as the system would refuse it.
BOOL ReleaseTracked(std::set<ULONG_PTR>& open, ULONG_PTR value, Call& call) {
    if (open.erase(value) == 0) {
        ++S().badReleases;
        S().lastError = ERROR_INVALID_HANDLE;
        call.result = FALSE;
        return FALSE;
    }
    call.result = TRUE;
    return TRUE;
}

bool TakeFailure(Fn fn, DWORD* error) {
    State& s = S();
    for (int i = 0; i < s.failureCount; ++i) {
        Failure& f = s.failures[i];
        if (f.fn != fn) continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        *error = f.error;
        for (int j = i; j + 1 < s.failureCount; ++j) s.failures[j] = s.failures[j + 1];
        --s.failureCount;
        return true;
    }
    return false;
}

ULONG_PTR NewHandle() {
    ULONG_PTR h = S().nextHandle;
    S().nextHandle += 4;
    return h;
}

std::string Lower(const std::string& text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Join(const std::string& parent, const char* sub) {
    std::string child = sub ? sub : "";
    if (parent.empty()) return child;
    if (child.empty()) return parent;
    return parent + "\\" + child;
}

Key* FindKey(const std::string& path) {
    auto it = S().keys.find(Lower(path));
    return it == S().keys.end() ? NULL : &it->second;
}

bool WriteDenied(const std::string& path) {
    // A key is read-only when it or any key above it was made so.
    std::string lower = Lower(path);
    for (auto& entry : S().keys) {
        const std::string& k = entry.first;
        if (!entry.second.denyWrite) continue;
        if (lower == k || (lower.size() > k.size() && lower.compare(0, k.size(), k) == 0 && lower[k.size()] == '\\'))
            return true;
    }
    return false;
}

void MakeKeyPath(const std::string& path) {
    std::string sofar;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        sofar = Join(sofar, part.c_str());
        Key& key = S().keys[Lower(sofar)];
        if (key.name.empty()) key.name = sofar;
        start = end + 1;
    }
}

// The key path a handle stands for, or NULL for an invalid handle.
const OpenKey* ResolveKey(HKEY key) {
    static const OpenKey kMachine = {"", KEY_ALL_ACCESS};
    if (key == HKEY_LOCAL_MACHINE) return &kMachine;
    auto it = S().openKeys.find(P(key));
    return it == S().openKeys.end() ? NULL : &it->second;
}

HKEY GrantKey(const std::string& path, REGSAM access) {
    ULONG_PTR h = NewHandle();
    S().openKeys[h] = OpenKey{Lower(path), access};
    return reinterpret_cast<HKEY>(h);
}

LONG Finish(Call& call, LONG result) {
    call.result = static_cast<ULONG_PTR>(result);
    return result;
}

const REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;

// Opens an existing key; the shared part of RegOpenKeyA and RegOpenKeyExA.
LONG OpenExisting(HKEY parent, LPCSTR subKey, bool maximumAllowed, REGSAM access, PHKEY result) {
    if (result == NULL) return ERROR_INVALID_PARAMETER;
    const OpenKey* base = ResolveKey(parent);
    if (base == NULL) return ERROR_INVALID_HANDLE;
    std::string path = Join(base->path, subKey);
    Key* key = FindKey(path);
    if (key == NULL) return ERROR_FILE_NOT_FOUND;
    if (key->openError != ERROR_SUCCESS) return key->openError;
    bool denied = WriteDenied(path);
    if (maximumAllowed) {
        access = denied ? KEY_READ : KEY_ALL_ACCESS;
    } else if (denied && (access & kWriteAccess)) {
        return ERROR_ACCESS_DENIED;
    }
    *result = GrantKey(path, access);
    return ERROR_SUCCESS;
}

// A failed open leaves its out-parameter undefined; poison it so a caller that
// closes it anyway shows as a bad release.
LONG Opened(Call& call, LONG result, PHKEY key) {
    if (result == ERROR_SUCCESS) call.out = P(*key);
    else if (key != NULL) *key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0xBAD0));
    return Finish(call, result);
}

}  // namespace

// ---- control -------------------------------------------------------------

const char* Name(Fn fn) {
    switch (fn) {
    case Fn::GetLastError: return "GetLastError";
    case Fn::SetLastError: return "SetLastError";
    case Fn::CreateFileA: return "CreateFileA";
    case Fn::ReadFile: return "ReadFile";
    case Fn::CloseHandle: return "CloseHandle";
    case Fn::LocalAlloc: return "LocalAlloc";
    case Fn::LocalFree: return "LocalFree";
    case Fn::SetupDiGetClassDevsA: return "SetupDiGetClassDevsA";
    case Fn::SetupDiEnumDeviceInterfaces: return "SetupDiEnumDeviceInterfaces";
    case Fn::SetupDiGetDeviceInterfaceDetailA: return "SetupDiGetDeviceInterfaceDetailA";
    case Fn::SetupDiDestroyDeviceInfoList: return "SetupDiDestroyDeviceInfoList";
    case Fn::GetDesktopWindow: return "GetDesktopWindow";
    case Fn::GetDC: return "GetDC";
    case Fn::ReleaseDC: return "ReleaseDC";
    case Fn::GetDeviceCaps: return "GetDeviceCaps";
    case Fn::SetCursorPos: return "SetCursorPos";
    case Fn::mouse_event: return "mouse_event";
    case Fn::EnumDisplayMonitors: return "EnumDisplayMonitors";
    case Fn::GetMonitorInfoA: return "GetMonitorInfoA";
    case Fn::EnumDisplayDevicesA: return "EnumDisplayDevicesA";
    case Fn::RegOpenKeyA: return "RegOpenKeyA";
    case Fn::RegOpenKeyExA: return "RegOpenKeyExA";
    case Fn::RegCreateKeyExA: return "RegCreateKeyExA";
    case Fn::RegQueryValueExA: return "RegQueryValueExA";
    case Fn::RegSetValueExA: return "RegSetValueExA";
    case Fn::RegDeleteValueA: return "RegDeleteValueA";
    case Fn::RegCloseKey: return "RegCloseKey";
    case Fn::GetModuleHandleA: return "GetModuleHandleA";
    case Fn::GetProcAddress: return "GetProcAddress";
    case Fn::GetDpiForWindow: return "GetDpiForWindow";
    case Fn::ChangeWindowMessageFilterEx: return "ChangeWindowMessageFilterEx";
    case Fn::ChangeWindowMessageFilter: return "ChangeWindowMessageFilter";
    case Fn::OpenProcessToken: return "OpenProcessToken";
    case Fn::GetTokenInformation: return "GetTokenInformation";
    case Fn::GetTickCount: return "GetTickCount";
    case Fn::RegisterDeviceNotificationA: return "RegisterDeviceNotificationA";
    case Fn::UnregisterDeviceNotification: return "UnregisterDeviceNotification";
    }
    return "?";
}

void Reset() {
    State& s = S();
    // Memory handed out by LocalAlloc and never freed belongs to a failed test; free it here.
    for (void* p : s.localAllocs) std::free(p);
    s.~State();
    new (&s) State();
    std::strcpy(s.devicePath, kDefaultDevicePath);
}

void SetRecording(bool on) { S().recording = on; }
int CallCount() { return S().logCount; }
const Call& CallAt(int index) { return S().log[index]; }
void ClearCalls() {
    S().logCount = 0;
    S().dropped = 0;
}
int DroppedCalls() { return S().dropped; }

std::vector<Fn> Sequence() {
    std::vector<Fn> out;
    for (int i = 0; i < S().logCount; ++i) {
        Fn fn = S().log[i].fn;
        if (fn != Fn::GetLastError && fn != Fn::SetLastError) out.push_back(fn);
    }
    return out;
}

int CountOf(Fn fn) {
    int n = 0;
    for (int i = 0; i < S().logCount; ++i) n += S().log[i].fn == fn;
    return n;
}

const Call* Find(Fn fn, int nth) {
    for (int i = 0; i < S().logCount; ++i) {
        if (S().log[i].fn == fn && nth-- == 0) return &S().log[i];
    }
    return NULL;
}

void SetMessageFilterExports(bool perWindow, bool perProcess) {
    S().exportsWindowFilter = perWindow;
    S().exportsProcessFilter = perProcess;
}

void SetWindowDpi(UINT dpi) { S().windowDpi = dpi; }

void FailCall(Fn fn, DWORD error, int skip) {
    State& s = S();
    if (s.failureCount < kFailureCapacity) s.failures[s.failureCount++] = Failure{fn, error, skip};
}

void SetDevicePresent(bool present) { S().devicePresent = present; }
void SetDevicePath(const char* path) {
    std::strncpy(S().devicePath, path, kDevicePathCapacity - 1);
    S().devicePath[kDevicePathCapacity - 1] = '\0';
}
void OverrideDetailSize(DWORD size) {
    S().detailSizeOverridden = true;
    S().detailSize = size;
}

// A drained script starts over, so a long run can queue one read per tick.
static void RestartDrainedScript(State& s) {
    if (!s.readLooping && s.readNext == s.readCount) s.readNext = s.readCount = 0;
}

void QueueRead(const BYTE* bytes, DWORD count) {
    State& s = S();
    RestartDrainedScript(s);
    if (s.readCount == kReadCapacity) return;
    ScriptedRead& r = s.reads[s.readCount++];
    std::memset(&r, 0, sizeof r);
    r.ok = TRUE;
    r.count = std::min<DWORD>(count, sizeof r.bytes);
    std::memcpy(r.bytes, bytes, r.count);
}

void QueueReport(BYTE button0, BYTE button1, WORD rawX, WORD rawY) {
    const BYTE bytes[6] = {button0, button1, static_cast<BYTE>(rawX & 0xFF), static_cast<BYTE>(rawX >> 8),
                           static_cast<BYTE>(rawY & 0xFF), static_cast<BYTE>(rawY >> 8)};
    QueueRead(bytes, sizeof bytes);
}

void QueueReadFailure(DWORD error) {
    State& s = S();
    RestartDrainedScript(s);
    if (s.readCount == kReadCapacity) return;
    ScriptedRead& r = s.reads[s.readCount++];
    std::memset(&r, 0, sizeof r);
    r.ok = FALSE;
    r.error = error;
}

void SetReadLooping(bool on) { S().readLooping = on; }
int ReadsLeft() { return S().readCount - S().readNext; }

void SetToken(bool elevated, bool virtualized) {
    S().tokenElevated = elevated;
    S().tokenVirtualized = virtualized;
}

void SetTickCount(DWORD now) { S().tickCount = now; }
void DuringNextMouseEvent(std::function<void()> action) { S().duringMouseEvent = std::move(action); }

void SetScreenSize(int width, int height) {
    S().screenWidth = width;
    S().screenHeight = height;
}

const char kImplicitMonitor[] = "\\\\?\\DISPLAY#STN0001#1&2a3b4c5d&0&UID0#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}";

void AddDisplay(const char* name, int left, int top, int width, int height, const char* monitor) {
    State& s = S();
    if (!s.displaysSet) s.displayCount = 0;
    s.displaysSet = true;
    if (s.displayCount == kDisplayCapacity) return;
    Display& d = s.displays[s.displayCount++];
    std::strncpy(d.name, name, CCHDEVICENAME - 1);
    d.name[CCHDEVICENAME - 1] = '\0';
    std::strncpy(d.monitor, monitor, sizeof d.monitor - 1);
    d.monitor[sizeof d.monitor - 1] = '\0';
    d.rect = RECT{left, top, left + width, top + height};
}

void RemoveDisplays() {
    S().displaysSet = true;
    S().displayCount = 0;
}

int OpenDeviceInfoLists() { return static_cast<int>(S().deviceInfoLists.size()); }
int OpenFileHandles() { return static_cast<int>(S().fileHandles.size()); }
int LiveLocalAllocs() { return static_cast<int>(S().localAllocs.size()); }
int HeldDCs() { return S().heldDCs; }
int OpenKeys() { return static_cast<int>(S().openKeys.size()); }
int DeviceNotifications() { return static_cast<int>(S().deviceNotifications.size()); }
int BadReleases() { return S().badReleases; }

std::string Leaks() {
    std::string out;
    auto add = [&out](int n, const char* what) {
        if (n == 0) return;
        if (!out.empty()) out += ", ";
        out += std::to_string(n) + " " + what;
    };
    add(OpenDeviceInfoLists(), "device-info list(s)");
    add(OpenFileHandles(), "file handle(s)");
    add(LiveLocalAllocs(), "LocalAlloc block(s)");
    add(HeldDCs(), "device context(s)");
    add(OpenKeys(), "registry key(s)");
    add(DeviceNotifications(), "device notification(s)");
    add(BadReleases(), "release(s) of something not open");
    return out;
}

namespace registry {

void CreateKey(const char* path) { MakeKeyPath(path); }
bool KeyExists(const char* path) { return FindKey(path) != NULL; }

void SetValue(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    MakeKeyPath(path);
    Value& v = FindKey(path)->values[Lower(name)];
    v.name = name;
    v.type = type;
    const BYTE* bytes = static_cast<const BYTE*>(data);
    v.bytes.assign(bytes, bytes + size);
}

void SetDword(const char* path, const char* name, DWORD value) {
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                           static_cast<BYTE>(value >> 24)};
    SetValue(path, name, REG_DWORD, bytes, 4);
}

bool GetValue(const char* path, const char* name, DWORD* type, std::vector<BYTE>* bytes) {
    Key* key = FindKey(path);
    if (key == NULL) return false;
    auto it = key->values.find(Lower(name));
    if (it == key->values.end()) return false;
    if (type) *type = it->second.type;
    if (bytes) *bytes = it->second.bytes;
    return true;
}

int ValueCount(const char* path) {
    Key* key = FindKey(path);
    return key ? static_cast<int>(key->values.size()) : 0;
}

void DenyWrite(const char* path) {
    MakeKeyPath(path);
    FindKey(path)->denyWrite = true;
}

void FailOpen(const char* path, LONG error) {
    MakeKeyPath(path);
    FindKey(path)->openError = error;
}

}  // namespace registry
}  // namespace standin

using standin::Fn;
using standin::S;

// ---- formatting ----------------------------------------------------------

int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, 1025, format, args);
    va_end(args);
    return written > 1024 ? 1024 : written;
}

// ---- kernel ----------------------------------------------------------------

DWORD WINAPI GetLastError(VOID) {
    standin::Call& call = standin::Record(Fn::GetLastError, {});
    call.result = S().lastError;
    return S().lastError;
}

VOID WINAPI SetLastError(DWORD dwErrCode) {
    standin::Record(Fn::SetLastError, {dwErrCode});
    S().lastError = dwErrCode;
}

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    standin::Call& call =
        standin::Record(Fn::CreateFileA, {standin::P(lpFileName), dwDesiredAccess, dwShareMode,
                                          standin::P(lpSecurityAttributes), dwCreationDisposition,
                                          dwFlagsAndAttributes, standin::P(hTemplateFile)});
    standin::SetText(call, lpFileName);
    DWORD error = 0;
    if (!standin::TakeFailure(Fn::CreateFileA, &error)) {
        if (lpFileName == NULL || !S().devicePresent || std::strcmp(lpFileName, S().devicePath) != 0)
            error = ERROR_FILE_NOT_FOUND;
    }
    if (error != 0) {
        S().lastError = error;
        call.result = standin::P(INVALID_HANDLE_VALUE);
        return INVALID_HANDLE_VALUE;
    }
    ULONG_PTR h = standin::NewHandle();
    S().fileHandles.insert(h);
    call.result = h;
    return reinterpret_cast<HANDLE>(h);
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
    standin::State& s = S();
    standin::Call& call = standin::Record(Fn::ReadFile, {standin::P(hFile), standin::P(lpBuffer),
                                                         nNumberOfBytesToRead, standin::P(lpNumberOfBytesRead),
                                                         standin::P(lpOverlapped)});
    if (lpNumberOfBytesRead != NULL) *lpNumberOfBytesRead = 0;
    DWORD error = 0;
    const standin::ScriptedRead* read = NULL;
    if (s.fileHandles.find(standin::P(hFile)) == s.fileHandles.end()) {
        error = ERROR_INVALID_HANDLE;
    } else if (!standin::TakeFailure(Fn::ReadFile, &error)) {
        if (s.readNext == s.readCount && s.readLooping) s.readNext = 0;
        if (s.readNext == s.readCount) {
            error = ERROR_GEN_FAILURE;
        } else {
            read = &s.reads[s.readNext++];
            if (!read->ok) error = read->error;
        }
    }
    if (error != 0) {
        s.lastError = error;
        call.result = FALSE;
        return FALSE;
    }
    DWORD count = std::min(read->count, nNumberOfBytesToRead);
    std::memcpy(lpBuffer, read->bytes, count);
    if (lpNumberOfBytesRead != NULL) *lpNumberOfBytesRead = count;
    call.dataSize = count;
    std::memcpy(call.data, read->bytes, count);
    call.result = TRUE;
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    standin::Call& call = standin::Record(Fn::CloseHandle, {standin::P(hObject)});
    return standin::ReleaseTracked(S().fileHandles, standin::P(hObject), call);
}

DWORD WINAPI GetTickCount(VOID) {
    standin::Record(Fn::GetTickCount, {}).result = S().tickCount;
    return S().tickCount;
}

BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle) {
    standin::Call& call =
        standin::Record(Fn::OpenProcessToken, {standin::P(ProcessHandle), DesiredAccess, standin::P(TokenHandle)});
    DWORD error = 0;
    if (standin::TakeFailure(Fn::OpenProcessToken, &error)) {
        S().lastError = error;
        return FALSE;
    }
    ULONG_PTR h = standin::NewHandle();
    S().fileHandles.insert(h);
    S().tokens.insert(h);
    *TokenHandle = reinterpret_cast<HANDLE>(h);
    call.out = h;
    call.result = TRUE;
    return TRUE;
}

BOOL WINAPI GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass,
                                LPVOID TokenInformation, DWORD TokenInformationLength, PDWORD ReturnLength) {
    standin::State& s = S();
    standin::Call& call = standin::Record(Fn::GetTokenInformation,
                                          {standin::P(TokenHandle), static_cast<ULONG_PTR>(TokenInformationClass),
                                           standin::P(TokenInformation), TokenInformationLength,
                                           standin::P(ReturnLength)});
    DWORD error = 0;
    if (s.tokens.find(standin::P(TokenHandle)) == s.tokens.end() ||
        s.fileHandles.find(standin::P(TokenHandle)) == s.fileHandles.end()) {
        error = ERROR_INVALID_HANDLE;
    } else if (!standin::TakeFailure(Fn::GetTokenInformation, &error)) {
        if (TokenInformationClass != TokenElevation && TokenInformationClass != TokenVirtualizationEnabled)
            error = ERROR_INVALID_PARAMETER;
        else if (TokenInformationLength < sizeof(DWORD))
            error = ERROR_INSUFFICIENT_BUFFER;
    }
    if (ReturnLength != NULL) *ReturnLength = sizeof(DWORD);
    if (error != 0) {
        s.lastError = error;
        return FALSE;
    }
    const DWORD answer = TokenInformationClass == TokenElevation ? s.tokenElevated : s.tokenVirtualized;
    std::memcpy(TokenInformation, &answer, sizeof answer);
    standin::SetData(call, &answer, sizeof answer);
    call.result = TRUE;
    return TRUE;
}

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
    standin::Call& call = standin::Record(Fn::LocalAlloc, {uFlags, uBytes});
    DWORD error = 0;
    if (standin::TakeFailure(Fn::LocalAlloc, &error)) {
        S().lastError = error;
        return NULL;
    }
    void* p = (uFlags & LMEM_ZEROINIT) ? std::calloc(1, uBytes ? uBytes : 1) : std::malloc(uBytes ? uBytes : 1);
    if (!(uFlags & LMEM_ZEROINIT)) std::memset(p, 0xCD, uBytes);  // catch reads of fields never set
    S().localAllocs.insert(p);
    call.result = standin::P(p);
    return p;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
    standin::Call& call = standin::Record(Fn::LocalFree, {standin::P(hMem)});
    if (hMem == NULL) return NULL;
    if (S().localAllocs.erase(hMem) == 0) {
        ++S().badReleases;
        call.result = standin::P(hMem);
        return hMem;
    }
    std::free(hMem);
    return NULL;
}

// ---- setup API -------------------------------------------------------------

namespace {
HMODULE const kUser32 = reinterpret_cast<HMODULE>(0x7000);

BOOL WINAPI FakeChangeWindowMessageFilterEx(HWND hwnd, UINT message, DWORD action, void* changeFilter) {
    standin::Record(Fn::ChangeWindowMessageFilterEx, {standin::P(hwnd), message, action, standin::P(changeFilter)})
        .result = TRUE;
    return TRUE;
}

BOOL WINAPI FakeChangeWindowMessageFilter(UINT message, DWORD flag) {
    standin::Record(Fn::ChangeWindowMessageFilter, {message, flag}).result = TRUE;
    return TRUE;
}

UINT WINAPI FakeGetDpiForWindow(HWND hwnd) {
    standin::Record(Fn::GetDpiForWindow, {standin::P(hwnd)}).result = S().windowDpi;
    return S().windowDpi;
}

template <typename F>
FARPROC AsFarProc(F function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}
}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    standin::Call& call = standin::Record(Fn::GetModuleHandleA, {standin::P(lpModuleName)});
    standin::SetText(call, lpModuleName);
    DWORD error = 0;
    const bool user32 = lpModuleName != NULL && strcasecmp(lpModuleName, "user32.dll") == 0;
    HMODULE module = !standin::TakeFailure(Fn::GetModuleHandleA, &error) && user32 ? kUser32 : NULL;
    call.result = standin::P(module);
    return module;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    standin::Call& call = standin::Record(Fn::GetProcAddress, {standin::P(hModule), standin::P(lpProcName)});
    standin::SetText(call, lpProcName);
    const standin::State& s = standin::S();
    FARPROC proc = NULL;
    if (hModule == kUser32 && lpProcName != NULL) {
        if (s.exportsWindowFilter && std::strcmp(lpProcName, "ChangeWindowMessageFilterEx") == 0)
            proc = AsFarProc(FakeChangeWindowMessageFilterEx);
        if (s.exportsProcessFilter && std::strcmp(lpProcName, "ChangeWindowMessageFilter") == 0)
            proc = AsFarProc(FakeChangeWindowMessageFilter);
        if (s.windowDpi != 0 && std::strcmp(lpProcName, "GetDpiForWindow") == 0)
            proc = AsFarProc(FakeGetDpiForWindow);
    }
    call.result = standin::P(reinterpret_cast<void*>(proc));
    return proc;
}

HDEVINFO WINAPI SetupDiGetClassDevsA(CONST GUID* ClassGuid, PCSTR Enumerator, HWND hwndParent, DWORD Flags) {
    standin::Call& call = standin::Record(
        Fn::SetupDiGetClassDevsA, {standin::P(ClassGuid), standin::P(Enumerator), standin::P(hwndParent), Flags});
    DWORD error = 0;
    if (standin::TakeFailure(Fn::SetupDiGetClassDevsA, &error)) {
        S().lastError = error;
        call.result = standin::P(INVALID_HANDLE_VALUE);
        return INVALID_HANDLE_VALUE;
    }
    ULONG_PTR h = standin::NewHandle();
    S().deviceInfoLists.insert(h);
    call.result = h;
    return reinterpret_cast<HDEVINFO>(h);
}

BOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                        CONST GUID* InterfaceClassGuid, DWORD MemberIndex,
                                        PSP_DEVICE_INTERFACE_DATA DeviceInterfaceData) {
    standin::Call& call = standin::Record(
        Fn::SetupDiEnumDeviceInterfaces, {standin::P(DeviceInfoSet), standin::P(DeviceInfoData),
                                          standin::P(InterfaceClassGuid), MemberIndex, standin::P(DeviceInterfaceData)});
    if (DeviceInterfaceData) call.structSize = DeviceInterfaceData->cbSize;
    DWORD error = 0;
    if (S().deviceInfoLists.count(standin::P(DeviceInfoSet)) == 0) {
        error = ERROR_INVALID_HANDLE;
    } else if (!standin::TakeFailure(Fn::SetupDiEnumDeviceInterfaces, &error)) {
        if (DeviceInterfaceData == NULL || InterfaceClassGuid == NULL) error = ERROR_INVALID_PARAMETER;
        else if (DeviceInterfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) error = ERROR_INVALID_USER_BUFFER;
        else if (!S().devicePresent || MemberIndex != 0) error = ERROR_NO_MORE_ITEMS;
    }
    if (error != 0) {
        S().lastError = error;
        call.result = FALSE;
        return FALSE;
    }
    DeviceInterfaceData->InterfaceClassGuid = *InterfaceClassGuid;
    DeviceInterfaceData->Flags = 1;  // SPINT_ACTIVE
    DeviceInterfaceData->Reserved = 0x5150;
    call.result = TRUE;
    return TRUE;
}

BOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HDEVINFO DeviceInfoSet, PSP_DEVICE_INTERFACE_DATA DeviceInterfaceData,
                                             PSP_DEVICE_INTERFACE_DETAIL_DATA_A DeviceInterfaceDetailData,
                                             DWORD DeviceInterfaceDetailDataSize, PDWORD RequiredSize,
                                             PSP_DEVINFO_DATA DeviceInfoData) {
    standin::State& s = S();
    standin::Call& call = standin::Record(
        Fn::SetupDiGetDeviceInterfaceDetailA,
        {standin::P(DeviceInfoSet), standin::P(DeviceInterfaceData), standin::P(DeviceInterfaceDetailData),
         DeviceInterfaceDetailDataSize, standin::P(RequiredSize), standin::P(DeviceInfoData)});
    if (DeviceInterfaceDetailData) call.structSize = DeviceInterfaceDetailData->cbSize;
    const DWORD needed = standin::kDetailFixedSize - 1 + static_cast<DWORD>(std::strlen(s.devicePath)) + 1;
    DWORD error = 0;
    if (s.deviceInfoLists.count(standin::P(DeviceInfoSet)) == 0) {
        error = ERROR_INVALID_HANDLE;
    } else if (standin::TakeFailure(Fn::SetupDiGetDeviceInterfaceDetailA, &error)) {
    } else if (DeviceInterfaceData == NULL || DeviceInterfaceData->Reserved != 0x5150) {
        error = ERROR_INVALID_PARAMETER;  // not filled by SetupDiEnumDeviceInterfaces
    } else if (DeviceInterfaceDetailData == NULL) {
        if (RequiredSize) *RequiredSize = s.detailSizeOverridden ? s.detailSize : needed;
        error = ERROR_INSUFFICIENT_BUFFER;
    } else if (DeviceInterfaceDetailData->cbSize != standin::kDetailFixedSize) {
        error = ERROR_INVALID_USER_BUFFER;
    } else if (DeviceInterfaceDetailDataSize < needed) {
        if (RequiredSize) *RequiredSize = needed;
        error = ERROR_INSUFFICIENT_BUFFER;
    }
    if (error != 0) {
        s.lastError = error;
        call.result = FALSE;
        return FALSE;
    }
    char* path = DeviceInterfaceDetailData->DevicePath;
    std::memcpy(path, s.devicePath, std::strlen(s.devicePath) + 1);
    if (RequiredSize) *RequiredSize = needed;
    call.result = TRUE;
    return TRUE;
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet) {
    standin::Call& call = standin::Record(Fn::SetupDiDestroyDeviceInfoList, {standin::P(DeviceInfoSet)});
    return standin::ReleaseTracked(S().deviceInfoLists, standin::P(DeviceInfoSet), call);
}

// ---- user and GDI ----------------------------------------------------------

namespace {
HWND const kDesktop = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x10010));
HDC const kScreenDC = reinterpret_cast<HDC>(static_cast<ULONG_PTR>(0x20020));
}  // namespace

HWND WINAPI GetDesktopWindow(VOID) {
    standin::Record(Fn::GetDesktopWindow, {}).result = standin::P(kDesktop);
    return kDesktop;
}

HDC WINAPI GetDC(HWND hWnd) {
    standin::Call& call = standin::Record(Fn::GetDC, {standin::P(hWnd)});
    DWORD error = 0;
    if (standin::TakeFailure(Fn::GetDC, &error)) return NULL;
    ++S().heldDCs;
    call.result = standin::P(kScreenDC);
    return kScreenDC;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
    standin::Call& call = standin::Record(Fn::ReleaseDC, {standin::P(hWnd), standin::P(hDC)});
    if (hDC != kScreenDC || S().heldDCs == 0) {
        ++S().badReleases;
        return 0;
    }
    --S().heldDCs;
    call.result = 1;
    return 1;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    standin::Call& call = standin::Record(Fn::GetDeviceCaps, {standin::P(hdc), static_cast<ULONG_PTR>(index)});
    int value = 0;
    if (hdc == kScreenDC && S().heldDCs > 0) {
        if (index == HORZRES) value = S().screenWidth;
        if (index == VERTRES) value = S().screenHeight;
    }
    call.result = static_cast<ULONG_PTR>(value);
    return value;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
    standin::Call& call =
        standin::Record(Fn::SetCursorPos, {static_cast<ULONG_PTR>(X), static_cast<ULONG_PTR>(Y)});
    DWORD error = 0;
    BOOL ok = !standin::TakeFailure(Fn::SetCursorPos, &error);
    if (!ok) S().lastError = error;
    call.result = ok;
    return ok;
}

HDEVNOTIFY WINAPI RegisterDeviceNotificationA(HANDLE hRecipient, LPVOID NotificationFilter, DWORD Flags) {
    standin::Call& call = standin::Record(Fn::RegisterDeviceNotificationA,
                                          {standin::P(hRecipient), standin::P(NotificationFilter), Flags});
    const DEV_BROADCAST_HANDLE& filter = *static_cast<const DEV_BROADCAST_HANDLE*>(NotificationFilter);
    call.structSize = filter.dbch_size;
    call.out = standin::P(filter.dbch_handle);
    DWORD error = ERROR_INVALID_PARAMETER;
    if (standin::TakeFailure(Fn::RegisterDeviceNotificationA, &error) || hRecipient == NULL ||
        filter.dbch_devicetype != DBT_DEVTYP_HANDLE || S().fileHandles.count(call.out) == 0) {
        S().lastError = error;
        return NULL;
    }
    call.result = standin::NewHandle();
    S().deviceNotifications.insert(call.result);
    return reinterpret_cast<HDEVNOTIFY>(call.result);
}

BOOL WINAPI UnregisterDeviceNotification(HDEVNOTIFY Handle) {
    standin::Call& call = standin::Record(Fn::UnregisterDeviceNotification, {standin::P(Handle)});
    return standin::ReleaseTracked(S().deviceNotifications, standin::P(Handle), call);
}

namespace {
// Display n's handle: never zero, and nothing else hands it out.
HMONITOR MonitorHandle(int index) {
    return reinterpret_cast<HMONITOR>(static_cast<ULONG_PTR>(0x30030 + 4 * index));
}

// The displays as they stand; the implicit one follows the screen's size.
int CurrentDisplays(standin::Display* out) {
    const standin::State& s = S();
    if (!s.displaysSet) {
        std::strcpy(out[0].name, "\\\\.\\DISPLAY1");
        std::strcpy(out[0].monitor, standin::kImplicitMonitor);
        out[0].rect = RECT{0, 0, s.screenWidth, s.screenHeight};
        return 1;
    }
    for (int i = 0; i < s.displayCount; ++i) out[i] = s.displays[i];
    return s.displayCount;
}
}  // namespace

BOOL WINAPI EnumDisplayMonitors(HDC hdc, LPCRECT lprcClip, MONITORENUMPROC lpfnEnum, LPARAM dwData) {
    standin::Call& call = standin::Record(Fn::EnumDisplayMonitors, {standin::P(hdc), standin::P(lprcClip),
                                                                      standin::P(reinterpret_cast<void*>(lpfnEnum)),
                                                                      static_cast<ULONG_PTR>(dwData)});
    DWORD error = 0;
    if (standin::TakeFailure(Fn::EnumDisplayMonitors, &error) || lpfnEnum == NULL) {
        call.result = FALSE;
        return FALSE;
    }
    standin::Display displays[standin::kDisplayCapacity];
    const int count = CurrentDisplays(displays);
    for (int i = 0; i < count; ++i) {
        RECT rect = displays[i].rect;
        if (!lpfnEnum(MonitorHandle(i), hdc, &rect, dwData)) break;
    }
    call.result = TRUE;
    return TRUE;
}

BOOL WINAPI GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi) {
    standin::Call& call = standin::Record(Fn::GetMonitorInfoA, {standin::P(hMonitor), standin::P(lpmi)});
    if (lpmi != NULL) call.structSize = lpmi->cbSize;
    DWORD error = 0;
    if (standin::TakeFailure(Fn::GetMonitorInfoA, &error)) {
        call.result = FALSE;
        return FALSE;
    }
    standin::Display displays[standin::kDisplayCapacity];
    const int count = CurrentDisplays(displays);
    int index = -1;
    for (int i = 0; i < count; ++i) {
        if (MonitorHandle(i) == hMonitor) index = i;
    }
    const bool sized = lpmi != NULL && (lpmi->cbSize == sizeof(MONITORINFO) || lpmi->cbSize == sizeof(MONITORINFOEXA));
    if (index < 0 || !sized) {
        call.result = FALSE;
        return FALSE;
    }
    lpmi->rcMonitor = displays[index].rect;
    lpmi->rcWork = displays[index].rect;
    lpmi->dwFlags = index == 0 ? MONITORINFOF_PRIMARY : 0;
    if (lpmi->cbSize == sizeof(MONITORINFOEXA))
        std::memcpy(static_cast<MONITORINFOEXA*>(lpmi)->szDevice, displays[index].name, CCHDEVICENAME);
    call.result = TRUE;
    return TRUE;
}

BOOL WINAPI EnumDisplayDevicesA(LPCSTR lpDevice, DWORD iDevNum, PDISPLAY_DEVICEA lpDisplayDevice, DWORD dwFlags) {
    standin::Call& call = standin::Record(Fn::EnumDisplayDevicesA, {standin::P(lpDevice), iDevNum,
                                                                      standin::P(lpDisplayDevice), dwFlags});
    standin::SetText(call, lpDevice);
    if (lpDisplayDevice != NULL) call.structSize = lpDisplayDevice->cb;
    DWORD error = 0;
    call.result = FALSE;
    if (standin::TakeFailure(Fn::EnumDisplayDevicesA, &error)) return FALSE;
    if (lpDisplayDevice == NULL || lpDisplayDevice->cb != sizeof(DISPLAY_DEVICEA)) return FALSE;
    standin::Display displays[standin::kDisplayCapacity];
    const int count = CurrentDisplays(displays);
    int index = -1;
    for (int i = 0; i < count; ++i) {
        if (lpDevice != NULL && std::strcmp(lpDevice, displays[i].name) == 0) index = i;
    }
    // Only the monitors: one to a display, at index 0.
    if (index < 0 || iDevNum != 0 || displays[index].monitor[0] == '\0') return FALSE;
    DISPLAY_DEVICEA& device = *lpDisplayDevice;
    std::memset(reinterpret_cast<BYTE*>(&device) + sizeof device.cb, 0, sizeof device - sizeof device.cb);
    // The monitor's own device name: the display's and "\\Monitor0", cut to fit.
    const std::string name = std::string(displays[index].name) + "\\Monitor0";
    std::strncpy(device.DeviceName, name.c_str(), sizeof device.DeviceName - 1);
    std::strcpy(device.DeviceString, "Generic PnP Monitor");
    device.StateFlags = DISPLAY_DEVICE_ACTIVE | DISPLAY_DEVICE_ATTACHED;
    if (dwFlags & EDD_GET_DEVICE_INTERFACE_NAME)
        std::strcpy(device.DeviceID, displays[index].monitor);
    else
        std::strcpy(device.DeviceID, "MONITOR\\STN0001\\{4d36e96e-e325-11ce-bfc1-08002be10318}\\0000");
    call.result = TRUE;
    return TRUE;
}

VOID WINAPI mouse_event(DWORD dwFlags, DWORD dx, DWORD dy, DWORD dwData, ULONG_PTR dwExtraInfo) {
    standin::Record(Fn::mouse_event, {dwFlags, dx, dy, dwData, dwExtraInfo});
    std::function<void()> action;
    action.swap(S().duringMouseEvent);
    if (action) action();
}

// ---- registry --------------------------------------------------------------

LONG WINAPI RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
    standin::Call& call =
        standin::Record(Fn::RegOpenKeyA, {standin::P(hKey), standin::P(lpSubKey), standin::P(phkResult)});
    standin::SetText(call, lpSubKey);
    DWORD error = 0;
    if (standin::TakeFailure(Fn::RegOpenKeyA, &error)) return standin::Opened(call, static_cast<LONG>(error), phkResult);
    return standin::Opened(call, standin::OpenExisting(hKey, lpSubKey, true, 0, phkResult), phkResult);
}

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
    standin::Call& call = standin::Record(
        Fn::RegOpenKeyExA, {standin::P(hKey), standin::P(lpSubKey), ulOptions, samDesired, standin::P(phkResult)});
    standin::SetText(call, lpSubKey);
    DWORD error = 0;
    if (standin::TakeFailure(Fn::RegOpenKeyExA, &error)) return standin::Opened(call, static_cast<LONG>(error), phkResult);
    return standin::Opened(call, standin::OpenExisting(hKey, lpSubKey, false, samDesired, phkResult), phkResult);
}

LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                            REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                            LPDWORD lpdwDisposition) {
    standin::Call& call = standin::Record(
        Fn::RegCreateKeyExA,
        {standin::P(hKey), standin::P(lpSubKey), Reserved, standin::P(lpClass), dwOptions, samDesired,
         standin::P(lpSecurityAttributes), standin::P(phkResult), standin::P(lpdwDisposition)});
    standin::SetText(call, lpSubKey);
    DWORD injected = 0;
    if (standin::TakeFailure(Fn::RegCreateKeyExA, &injected))
        return standin::Opened(call, static_cast<LONG>(injected), phkResult);
    if (phkResult == NULL || lpSubKey == NULL) return standin::Opened(call, ERROR_INVALID_PARAMETER, phkResult);
    const standin::OpenKey* parent = standin::ResolveKey(hKey);
    if (parent == NULL) return standin::Opened(call, ERROR_INVALID_HANDLE, phkResult);
    std::string path = standin::Join(parent->path, lpSubKey);
    standin::Key* key = standin::FindKey(path);
    if (key != NULL) {
        if (key->openError != ERROR_SUCCESS) return standin::Opened(call, key->openError, phkResult);
        if ((samDesired & standin::kWriteAccess) && standin::WriteDenied(path))
            return standin::Opened(call, ERROR_ACCESS_DENIED, phkResult);
        if (lpdwDisposition) *lpdwDisposition = REG_OPENED_EXISTING_KEY;
    } else {
        if (!(parent->access & KEY_CREATE_SUB_KEY) || standin::WriteDenied(parent->path))
            return standin::Opened(call, ERROR_ACCESS_DENIED, phkResult);
        standin::MakeKeyPath(path);
        if (lpdwDisposition) *lpdwDisposition = REG_CREATED_NEW_KEY;
    }
    *phkResult = standin::GrantKey(path, samDesired);
    return standin::Opened(call, ERROR_SUCCESS, phkResult);
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    standin::Call& call =
        standin::Record(Fn::RegQueryValueExA, {standin::P(hKey), standin::P(lpValueName), standin::P(lpReserved),
                                               standin::P(lpType), standin::P(lpData), standin::P(lpcbData)});
    standin::SetText(call, lpValueName);
    if (lpcbData) call.structSize = *lpcbData;
    DWORD injected = 0;
    if (standin::TakeFailure(Fn::RegQueryValueExA, &injected)) return standin::Finish(call, static_cast<LONG>(injected));
    const standin::OpenKey* open = standin::ResolveKey(hKey);
    if (open == NULL) return standin::Finish(call, ERROR_INVALID_HANDLE);
    if (!(open->access & KEY_QUERY_VALUE)) return standin::Finish(call, ERROR_ACCESS_DENIED);
    if (lpData != NULL && lpcbData == NULL) return standin::Finish(call, ERROR_INVALID_PARAMETER);
    standin::Key* key = standin::FindKey(open->path);
    if (key == NULL) return standin::Finish(call, ERROR_FILE_NOT_FOUND);
    auto it = key->values.find(standin::Lower(lpValueName ? lpValueName : ""));
    if (it == key->values.end()) return standin::Finish(call, ERROR_FILE_NOT_FOUND);
    const standin::Value& value = it->second;
    const DWORD size = static_cast<DWORD>(value.bytes.size());
    if (lpType) *lpType = value.type;
    if (lpData != NULL && *lpcbData < size) {
        // The buffer is undefined after this; fill it so a caller that trusts it shows.
        std::memset(lpData, 0xA5, *lpcbData);
        *lpcbData = size;
        return standin::Finish(call, ERROR_MORE_DATA);
    }
    if (lpData != NULL && size > 0) std::memcpy(lpData, value.bytes.data(), size);
    if (lpcbData) *lpcbData = size;
    return standin::Finish(call, ERROR_SUCCESS);
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, CONST BYTE* lpData,
                           DWORD cbData) {
    standin::Call& call = standin::Record(
        Fn::RegSetValueExA, {standin::P(hKey), standin::P(lpValueName), Reserved, dwType, standin::P(lpData), cbData});
    standin::SetText(call, lpValueName);
    standin::SetData(call, lpData, cbData);
    DWORD injected = 0;
    if (standin::TakeFailure(Fn::RegSetValueExA, &injected)) return standin::Finish(call, static_cast<LONG>(injected));
    const standin::OpenKey* open = standin::ResolveKey(hKey);
    if (open == NULL) return standin::Finish(call, ERROR_INVALID_HANDLE);
    if (!(open->access & KEY_SET_VALUE)) return standin::Finish(call, ERROR_ACCESS_DENIED);
    standin::registry::SetValue(open->path.c_str(), lpValueName ? lpValueName : "", dwType, lpData, cbData);
    return standin::Finish(call, ERROR_SUCCESS);
}

LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    standin::Call& call = standin::Record(Fn::RegDeleteValueA, {standin::P(hKey), standin::P(lpValueName)});
    standin::SetText(call, lpValueName);
    DWORD injected = 0;
    if (standin::TakeFailure(Fn::RegDeleteValueA, &injected)) return standin::Finish(call, static_cast<LONG>(injected));
    const standin::OpenKey* open = standin::ResolveKey(hKey);
    if (open == NULL) return standin::Finish(call, ERROR_INVALID_HANDLE);
    if (!(open->access & KEY_SET_VALUE)) return standin::Finish(call, ERROR_ACCESS_DENIED);
    standin::Key* key = standin::FindKey(open->path);
    if (key == NULL || key->values.erase(standin::Lower(lpValueName ? lpValueName : "")) == 0)
        return standin::Finish(call, ERROR_FILE_NOT_FOUND);
    return standin::Finish(call, ERROR_SUCCESS);
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    standin::Call& call = standin::Record(Fn::RegCloseKey, {standin::P(hKey)});
    if (S().openKeys.erase(standin::P(hKey)) == 0) {
        ++S().badReleases;
        return standin::Finish(call, ERROR_INVALID_HANDLE);
    }
    return standin::Finish(call, ERROR_SUCCESS);
}
