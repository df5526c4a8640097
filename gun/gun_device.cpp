#include "gun/gun_device.h"

CGunDevice::CGunDevice() : m_previous(kIdleReport) {}

CGunDevice::~CGunDevice() {}

BOOL CGunDevice::Open(HWND window) {
    return m_link.Open(window);
}

BOOL CGunDevice::IsOpen() const {
    return m_link.IsOpen();
}

BOOL CGunDevice::ReadReport(ButtonEdges& edges) {
    GunReport report;
    if (!m_link.Read(report)) return ReadFailed();
    m_failures.End();
    DecodeButtonEdges(report, m_previous, edges);
    m_previous = report;
    return TRUE;
}

// A driver that fails every read after a resume may never answer again: once
// reads have failed for the run, the link lets go as after an unplug. An
// unplug (which closed the link), a short read or a closed link ends the run.
BOOL CGunDevice::ReadFailed() {
    if (!m_link.IsOpen() || m_link.LastRead().kind != GunReadOutcome::kFailed)
        m_failures.End();
    else if (m_failures.Failed(GetTickCount()))
        m_link.Close();
    return FALSE;
}

BOOL CGunDevice::Poll(WORD& rawX, WORD& rawY, ButtonEdges& edges) {
    if (!ReadReport(edges)) return FALSE;
    rawX = ReportRawX(m_previous);
    rawY = ReportRawY(m_previous);
    return TRUE;
}
