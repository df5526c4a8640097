// The platform half of the gun link: finds the gun through its driver's
// device interface, opens it and reads whole reports. Glimmerdot decodes
// what it reads (CGunDevice); Gun Test shows it as it is.
#pragma once

#include "framework/platform.h"
#include "gun/device_handles.h"
#include "gun/gun_report.h"

// {1F6C1AAA-0919-4A8D-B0CD-68566229DE66}
extern const GUID GUID_DEVINTERFACE_GUN;

// What the last read made of the gun.
struct GunReadOutcome {
    enum Kind { kNoRead, kReport, kFailed, kShort };
    Kind kind;
    DWORD error;  // kFailed: the read's GetLastError
    DWORD count;  // bytes the read delivered
};

// Room for the device path as shown; a longer one is kept cut short.
const int kGunPathSize = 260;

class CGunLink {
public:
    CGunLink();

    // TRUE at once while open; otherwise the first gun enumerated is opened,
    // and Windows is asked to tell `window`, if given, when it wants the gun.
    BOOL Open(HWND window = NULL);
    BOOL IsOpen() const { return m_handle.IsValid() ? TRUE : FALSE; }
    // Lets go of the gun, as an unplug does; the next Open looks for it anew.
    void Close() { m_handle.Close(); }
    // A WM_DEVICECHANGE in which Windows asks for this link's gun (a driver
    // update, "Disable device", safe removal) or has taken it: the link lets
    // go and answers TRUE. Any other notice, a cancelled removal included, is
    // left to the caller.
    BOOL LetGoWhenAsked(WPARAM event, LPARAM data);
    // One synchronous read; `report` changes only when a whole report came.
    // An unplugged gun (error 1167) closes the link.
    // Inline, with the failure out of line: the tick's one call to the driver.
    BOOL Read(GunReport& report) {
        if (!IsOpen()) return FALSE;
        GunReport received;
        DWORD count = 0;
        if (!ReadFile(m_handle.Get(), received.bytes, sizeof received.bytes, &count, NULL)) return ReadFailed();
        m_lastRead.error = 0;
        m_lastRead.count = count;
        // A partial report would decode bytes the driver never sent.
        if (count < sizeof received.bytes) {
            m_lastRead.kind = GunReadOutcome::kShort;
            return FALSE;
        }
        m_lastRead.kind = GunReadOutcome::kReport;
        report = received;
        return TRUE;
    }

    // The path of the gun last opened, "" until one was.
    const char* DevicePath() const { return m_path; }
    const GunReadOutcome& LastRead() const { return m_lastRead; }
    // Why the last Open failed with the gun listed: CreateFileA's error. 0 when
    // no gun was listed, or the open succeeded.
    DWORD OpenError() const { return m_openError; }

private:
    BOOL ReadFailed();

    FileHandle m_handle;  // invalid while the link is closed
    // Outlives the handle it names, so a removal called off is heard too;
    // the next Open replaces it. Released before the handle.
    DeviceNotification m_notices;
    GunReadOutcome m_lastRead;
    DWORD m_openError;
    char m_path[kGunPathSize];

    CGunLink(const CGunLink&) = delete;
    CGunLink& operator=(const CGunLink&) = delete;
};
