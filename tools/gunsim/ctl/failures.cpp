#include "failures.h"

#include "owned.h"
#include "../gunsim_protocol.h"

const char kReadErrorsOffered[] = "2 22 31 55 995 1117";

namespace {

struct ReadError {
    unsigned long error;
    DWORD ntStatus;
};

// Completions that Wine's ntdll (as Windows) turns back into exactly these errors.
const ReadError kReadErrors[] = {
    {ERROR_FILE_NOT_FOUND, 0xC000000Fu},     // STATUS_NO_SUCH_FILE
    {ERROR_BAD_COMMAND, 0xC0000184u},        // STATUS_INVALID_DEVICE_STATE
    {ERROR_GEN_FAILURE, 0xC0000001u},        // STATUS_UNSUCCESSFUL
    {ERROR_DEV_NOT_EXIST, 0xC00000C0u},      // STATUS_DEVICE_DOES_NOT_EXIST
    {ERROR_OPERATION_ABORTED, 0xC0000120u},  // STATUS_CANCELLED
    {ERROR_IO_DEVICE, 0xC0000185u},          // STATUS_IO_DEVICE_ERROR
};

#define kRefusingPipe "gunsim-refused"
#define kRefusingPipeW L"gunsim-refused"

}  // namespace

bool ReadErrorStatus(unsigned long error, DWORD& ntStatus)
{
    for (const ReadError& known : kReadErrors) {
        if (known.error == error) {
            ntStatus = known.ntStatus;
            return true;
        }
    }
    return false;
}

unsigned long ReadErrorOf(DWORD ntStatus)
{
    for (const ReadError& known : kReadErrors) {
        if (known.ntStatus == ntStatus)
            return known.error;
    }
    return 0;
}

bool MakeRefusingTarget(OwnedFile& pipe, std::wstring& ntPath, std::string& error)
{
    // Inbound only: its clients may write but not read, so Windows and Wine
    // refuse an open for reading and writing with access denied.
    pipe.Reset(CreateNamedPipeA("\\\\.\\pipe\\" kRefusingPipe, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE,
                                PIPE_UNLIMITED_INSTANCES, 0, 0, 0, NULL));
    if (!pipe.IsValid()) {
        error = "cannot create the refusing pipe (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    ntPath = L"\\Device\\NamedPipe\\" kRefusingPipeW;
    return true;
}

std::string ProbeGun()
{
    OwnedFile gun(CreateFileA(GUNSIM_INTERFACE_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!gun.IsValid())
        return "open error " + std::to_string(GetLastError());
    BYTE report[GUNSIM_REPORT_SIZE];
    DWORD count = 0;
    if (!ReadFile(gun.Get(), report, sizeof report, &count, NULL))
        return "read error " + std::to_string(GetLastError());
    return "read " + std::to_string(count);
}
