#include "guntest/gun_watch.h"

namespace {
// How often a closed link looks for the gun again.
const DWORD kReopenIntervalMs = 1000;
}

CGunWatch::CGunWatch()
    : m_status(kGunNotFound), m_report(kIdleReport), m_hasReport(false), m_triedOpen(false), m_lastOpenAttempt(0) {}

void CGunWatch::Tick(DWORD now) {
    if (!m_link.IsOpen() && (!m_triedOpen || now - m_lastOpenAttempt >= kReopenIntervalMs)) TryOpen(now);
    if (m_link.IsOpen()) ReadOnce(now);
}

void CGunWatch::OnDeviceChange(DWORD now) {
    if (!m_link.IsOpen()) TryOpen(now);
}

// A failed attempt keeps the status: "not found" until the gun was first
// found, "unplugged" after it was pulled out.
void CGunWatch::TryOpen(DWORD now) {
    m_triedOpen = true;
    m_lastOpenAttempt = now;
    if (!m_link.Open()) return;
    m_status = kGunFound;
    m_hasReport = false;
}

void CGunWatch::ReadOnce(DWORD now) {
    GunReport report;
    if (m_link.Read(report)) {
        m_status = kGunFound;
        m_report = report;
        m_hasReport = true;
        m_rate.Record(now);
        return;
    }
    const GunReadOutcome& outcome = m_link.LastRead();
    if (outcome.kind == GunReadOutcome::kShort) {
        m_status = kGunShortRead;
    } else if (m_link.IsOpen()) {
        m_status = kGunReadFailed;
    } else {
        // The old report belongs to a gun that is gone.
        m_status = kGunUnplugged;
        m_hasReport = false;
    }
}
