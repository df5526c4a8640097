// The program's process, seen from the Windows side: its end and its handles.
#include <windows.h>
#include <tlhelp32.h>

#include <map>
#include <string>
#include <vector>

#include "commands.h"
#include "output.h"

// waitexit MS: the process ends within MS ms.
bool CmdWaitExit(Session& session, const Args& args)
{
    long timeout = 0;
    if (args.size() != 1 || !ParseLong(args[0], timeout))
        return Fail("usage: waitexit MS");
    if (!session.ResolveProcess())
        return false;
    if (::WaitForSingleObject(session.process(), static_cast<DWORD>(timeout)) != WAIT_OBJECT_0)
        return Fail("the process is still running");
    DWORD code = 0;
    ::GetExitCodeProcess(session.process(), &code);
    PrintLine("exited pid=" + std::to_string(session.pid()) + " code=" + std::to_string(code));
    return true;
}

// waitidle MS: the program has handled its start-up input and waits for more.
// A dialog shows itself again the first time its loop goes idle, which would
// undo a minimise that came before.
bool CmdWaitIdle(Session& session, const Args& args)
{
    long timeout = 0;
    if (args.size() != 1 || !ParseLong(args[0], timeout))
        return Fail("usage: waitidle MS");
    if (!session.ResolveProcess())
        return false;
    return ::WaitForInputIdle(session.process(), static_cast<DWORD>(timeout)) == 0 || Fail("the program is not idle");
}

namespace {

// One entry of the system's handle list (SystemHandleInformation), 32-bit.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};

// What NtQueryObject's ObjectTypeInformation begins with.
struct ObjectTypeName {
    USHORT length;
    USHORT maximumLength;
    PWSTR buffer;
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryObject = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

FARPROC NtdllFunction(const char* name)
{
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), name);
}

// The values of the handles the process holds, from the system-wide list:
// some systems answer GetProcessHandleCount with 0.
bool ListHandles(DWORD pid, std::vector<USHORT>& values)
{
    const ULONG kSystemHandleInformation = 16;
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(NtdllFunction("NtQuerySystemInformation")));
    if (query == nullptr)
        return false;
    std::vector<BYTE> buffer(1 << 16);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const ULONG total = *reinterpret_cast<const ULONG*>(buffer.data());
            const SystemHandleEntry* entries = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
            values.clear();
            for (ULONG i = 0; i < total; ++i) {
                if (entries[i].ownerPid == pid)
                    values.push_back(entries[i].value);
            }
            return true;
        }
        buffer.resize(needed > buffer.size() ? needed + 4096 : buffer.size() * 2);
    }
    return false;
}

// The object type of one of the process's handles ("Event", "File", ...);
// "closed" when it went between the list and the look, "untyped" for the
// objects Wine gives no type name, "?" when it cannot be looked at.
std::string HandleKind(HANDLE process, USHORT value)
{
    const ULONG kObjectTypeInformation = 2;
    auto query = reinterpret_cast<QueryObject>(reinterpret_cast<void*>(NtdllFunction("NtQueryObject")));
    if (query == nullptr)
        return "?";
    HANDLE copy = nullptr;
    if (!::DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)), ::GetCurrentProcess(),
                           &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return ::GetLastError() == ERROR_INVALID_HANDLE ? "closed" : "?";
    ScopedHandle owned(copy);
    // Room for the type's fixed part and its name after it.
    ULONG words[256] = {};
    ULONG got = 0;
    if (query(owned.get(), kObjectTypeInformation, words, sizeof words, &got) != 0)
        return "?";
    const ObjectTypeName* name = reinterpret_cast<const ObjectTypeName*>(words);
    char narrow[64] = {};
    const int length = ::WideCharToMultiByte(CP_ACP, 0, name->buffer, static_cast<int>(name->length / sizeof(WCHAR)),
                                             narrow, sizeof narrow - 1, nullptr, nullptr);
    return length > 0 ? std::string(narrow, static_cast<size_t>(length)) : "untyped";
}

// "Event:3,File:2,...": how many handles of each kind, so that a count that
// grew says what it grew by.
std::string HandleKinds(HANDLE process, const std::vector<USHORT>& values)
{
    std::map<std::string, int> kinds;
    for (USHORT value : values)
        ++kinds[HandleKind(process, value)];
    std::string text;
    for (const auto& kind : kinds)
        text += (text.empty() ? "" : ",") + kind.first + ":" + std::to_string(kind.second);
    return text.empty() ? "-" : text;
}

} // namespace

bool CmdHandles(Session& session, const Args&)
{
    if (!session.ResolveProcess())
        return false;
    DWORD counted = 0;
    if (!::GetProcessHandleCount(session.process(), &counted))
        counted = 0;
    std::vector<USHORT> listed;
    const bool haveList = ListHandles(session.pid(), listed);
    if (counted == 0 && !haveList)
        return Fail("cannot count the handles");
    const DWORD count = counted != 0 ? counted : static_cast<DWORD>(listed.size());
    PrintLine("handles pid=" + std::to_string(session.pid()) + " count=" + std::to_string(count) +
              " api=" + std::to_string(counted) + " listed=" + (haveList ? std::to_string(listed.size()) : "?") +
              " kinds=" + (haveList ? HandleKinds(session.process(), listed) : "?"));
    return true;
}

bool CmdTerminate(Session& session, const Args&)
{
    if (!session.ResolveProcess())
        return false;
    return ::TerminateProcess(session.process(), 1) || Fail("TerminateProcess failed");
}

// note FILE WORDS...: appends the words as one line to FILE. Registered as a
// handler (of a URL scheme, say) it records each time the shell starts it.
bool CmdNote(Session&, const Args& args)
{
    if (args.size() < 2)
        return Fail("usage: note FILE WORDS...");
    std::string line;
    for (size_t i = 1; i < args.size(); ++i)
        line += (i > 1 ? " " : "") + args[i];
    line += "\r\n";
    ScopedHandle file(::CreateFileA(args[0].c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return Fail("cannot open " + args[0]);
    }
    DWORD written = 0;
    return (::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
            written == line.size()) ||
           Fail("cannot write " + args[0]);
}

namespace {

int CountProcesses(const std::string& name)
{
    ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return -1;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry))
        count += lstrcmpiA(entry.szExeFile, name.c_str()) == 0 ? 1 : 0;
    return count;
}

} // namespace

// running NAME [wait COUNT MS]: how many processes run the file NAME (a
// handler the program started, say), optionally once there are COUNT.
bool CmdRunning(Session&, const Args& args)
{
    long wanted = -1;
    long timeout = 0;
    if (args.empty() || (args.size() != 1 && (args.size() != 4 || args[1] != "wait" ||
                                               !ParseLong(args[2], wanted) || !ParseLong(args[3], timeout))))
        return Fail("usage: running NAME [wait COUNT MS]");
    int count = 0;
    const bool reached = WaitUntil(static_cast<DWORD>(timeout), [&] {
        count = CountProcesses(args[0]);
        return count >= 0 && (wanted < 0 || count == wanted);
    });
    if (count < 0)
        return Fail("cannot list the processes");
    PrintLine("running name=" + Quoted(args[0]) + " count=" + std::to_string(count));
    return reached || Fail(std::to_string(count) + " processes of " + args[0]);
}
