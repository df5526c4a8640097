#include "gun/gun_device.h"

CGunDevice::CGunDevice() : m_previous(kIdleReport) {}

CGunDevice::~CGunDevice() {}

BOOL CGunDevice::Open() {
    return m_link.Open();
}

BOOL CGunDevice::IsOpen() const {
    return m_link.IsOpen();
}

BOOL CGunDevice::ReadReport(ButtonEdges& edges) {
    GunReport report;
    if (!m_link.Read(report)) return FALSE;
    DecodeButtonEdges(report, m_previous, edges);
    m_previous = report;
    return TRUE;
}

BOOL CGunDevice::Poll(WORD& rawX, WORD& rawY, ButtonEdges& edges) {
    if (!ReadReport(edges)) return FALSE;
    rawX = ReportRawX(m_previous);
    rawY = ReportRawY(m_previous);
    return TRUE;
}
