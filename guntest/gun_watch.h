// Gun Test's view of the gun: opens it by itself, reads it once per tick and
// keeps what the last tick found, for the window to show.
#pragma once

#include "framework/platform.h"
#include "gun/failure_run.h"
#include "gun/gun_link.h"
#include "gun/gun_report.h"
#include "guntest/read_rate.h"

enum GunStatus {
    kGunNotFound,   // never found since the program started
    kGunFound,      // opened, and the last read (if any) gave a whole report
    kGunUnplugged,  // a read failed with 1167; the link is closed
    kGunReadFailed, // any other read error; the link stays open for now
    kGunShortRead,  // a read gave less than a whole report
    kGunRefused,    // listed by Windows, but opening it failed
    kGunReadsFailing, // reads failed for kFailureRunMs; the link is closed and looked for again
};

class CGunWatch {
public:
    CGunWatch();

    // One timer tick at `now` (ms): with no link, an open attempt once a
    // second; with a link, one read.
    void Tick(DWORD now);
    // Windows tells this window when it wants the gun; set before the first Tick.
    void NoticesTo(HWND window) { m_window = window; }
    // A WM_DEVICECHANGE: Windows asking for the gun is let go of as after an
    // unplug; anything else, a closed link tries to open at once.
    void OnDeviceChange(DWORD now, WPARAM event, LPARAM data);

    GunStatus Status() const { return m_status; }
    const char* DevicePath() const { return m_link.DevicePath(); }
    const GunReadOutcome& LastRead() const { return m_link.LastRead(); }
    // kGunRefused: the Windows error of the last open.
    DWORD OpenError() const { return m_link.OpenError(); }
    // The last whole report, or NULL before the first one since the link
    // opened and after a failed read.
    const GunReport* Report() const { return m_hasReport ? &m_report : NULL; }
    int ReadsPerSecond(DWORD now) const { return m_rate.PerSecond(now); }

private:
    void TryOpen(DWORD now);
    void ReadOnce(DWORD now);
    void ReadFailed(DWORD now);

    CGunLink m_link;
    HWND m_window;
    GunStatus m_status;
    GunReport m_report;
    bool m_hasReport;
    bool m_triedOpen;
    DWORD m_lastOpenAttempt;
    // Reads have failed without a report between.
    FailureRun m_failures;
    CReadRate m_rate;
};
