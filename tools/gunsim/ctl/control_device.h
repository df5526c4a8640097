// The simulated gun's control device: state, pull-out, plug-in, counters, read stamps.
#pragma once

#include <windows.h>

#include <string>

#include "owned.h"
#include "../gunsim_protocol.h"

class GunsimControl {
public:
    GunsimControl() = default;
    GunsimControl(const GunsimControl&) = delete;
    GunsimControl& operator=(const GunsimControl&) = delete;

    // Opens the control device on first use, waiting up to `waitMs` for the driver to come up.
    bool Connect(DWORD waitMs = 0);
    void Disconnect() { m_file.Reset(INVALID_HANDLE_VALUE); }

    bool SetState(const BYTE (&report)[GUNSIM_REPORT_SIZE]);
    bool Pull();
    bool Plug();
    bool SetReadLength(DWORD length);
    // 0: reads answer; otherwise the NTSTATUS they fail with.
    bool SetReadError(DWORD ntStatus);
    // An NT path the gun's interface link points at instead; "" for the gun.
    bool SetOpenTarget(const std::wstring& ntPath);
    bool Query(GunsimStatus& status, bool resetCounts);
    bool QueryTimes(GunsimTimes& times, bool reset);

private:
    bool Control(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);

    OwnedFile m_file;
};
