#include "control_device.h"

bool GunsimControl::Connect(DWORD waitMs)
{
    if (m_file.IsValid())
        return true;
    const DWORD start = GetTickCount();
    for (;;) {
        HANDLE file = CreateFileA(GUNSIM_CONTROL_PATH, GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            m_file.Reset(file);
            return true;
        }
        if (GetTickCount() - start >= waitMs)
            return false;
        Sleep(100);
    }
}

bool GunsimControl::Control(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize)
{
    if (!Connect())
        return false;
    DWORD returned = 0;
    return DeviceIoControl(m_file.Get(), code, const_cast<void*>(in), inSize, out, outSize, &returned,
                           NULL) != FALSE;
}

bool GunsimControl::SetState(const BYTE (&report)[GUNSIM_REPORT_SIZE])
{
    return Control(IOCTL_GUNSIM_SET_STATE, report, sizeof(report), NULL, 0);
}

bool GunsimControl::Pull()
{
    return Control(IOCTL_GUNSIM_PULL, NULL, 0, NULL, 0);
}

bool GunsimControl::Plug()
{
    return Control(IOCTL_GUNSIM_PLUG, NULL, 0, NULL, 0);
}

bool GunsimControl::SetReadLength(DWORD length)
{
    return Control(IOCTL_GUNSIM_SET_READ_LENGTH, &length, sizeof(length), NULL, 0);
}

bool GunsimControl::SetReadError(DWORD ntStatus)
{
    return Control(IOCTL_GUNSIM_SET_READ_ERROR, &ntStatus, sizeof(ntStatus), NULL, 0);
}

bool GunsimControl::SetOpenTarget(const std::wstring& ntPath)
{
    const DWORD size = static_cast<DWORD>(ntPath.size()) * static_cast<DWORD>(sizeof(wchar_t));
    return Control(IOCTL_GUNSIM_SET_OPEN_TARGET, ntPath.data(), size, NULL, 0);
}

bool GunsimControl::Query(GunsimStatus& status, bool resetCounts)
{
    GunsimQuery query = {resetCounts ? GUNSIM_QUERY_RESET_COUNTS : 0u};
    return Control(IOCTL_GUNSIM_STATUS, &query, sizeof(query), &status, sizeof(status));
}

bool GunsimControl::QueryTimes(GunsimTimes& times, bool reset)
{
    GunsimQuery query = {reset ? GUNSIM_QUERY_RESET_TIMES : 0u};
    return Control(IOCTL_GUNSIM_TIMES, &query, sizeof(query), &times, sizeof(times));
}
