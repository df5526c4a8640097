#include "guntest/gun_watch.h"

namespace {
// How often a closed link looks for the gun again.
const DWORD kReopenIntervalMs = 1000;
}

CGunWatch::CGunWatch()
    : m_window(NULL), m_status(kGunNotFound), m_report(kIdleReport), m_hasReport(false), m_triedOpen(false),
      m_lastOpenAttempt(0) {}

void CGunWatch::Tick(DWORD now) {
    if (!m_link.IsOpen() && (!m_triedOpen || now - m_lastOpenAttempt >= kReopenIntervalMs)) TryOpen(now);
    if (m_link.IsOpen()) ReadOnce(now);
}

void CGunWatch::OnDeviceChange(DWORD now, WPARAM event, LPARAM data) {
    if (m_link.LetGoWhenAsked(event, data)) {
        // Not looked for again before a second has passed, so Windows can
        // finish with the gun first.
        m_status = kGunUnplugged;
        m_hasReport = false;
        m_failures.End();
        m_lastOpenAttempt = now;
    } else if (!m_link.IsOpen()) {
        TryOpen(now);
    }
}

// A gun listed but not opened says so. Otherwise a failed attempt keeps the
// status: "not found" until the gun was first found, "unplugged" after it was
// pulled out, the read error after reads kept failing.
void CGunWatch::TryOpen(DWORD now) {
    m_triedOpen = true;
    m_lastOpenAttempt = now;
    if (!m_link.Open(m_window)) {
        if (m_link.OpenError() != 0) {
            m_status = kGunRefused;
            m_failures.End();
        } else if (m_status == kGunRefused)
            m_status = kGunNotFound;
        return;
    }
    m_hasReport = false;
    // Reopened while reads keep failing: the error stays until one succeeds.
    if (!m_failures.IsOn()) m_status = kGunFound;
}

void CGunWatch::ReadOnce(DWORD now) {
    GunReport report;
    if (m_link.Read(report)) {
        m_status = kGunFound;
        m_report = report;
        m_hasReport = true;
        m_failures.End();
        m_rate.Record(now);
        return;
    }
    if (m_link.LastRead().kind == GunReadOutcome::kShort) {
        m_status = kGunShortRead;
        m_failures.End();
    } else {
        ReadFailed(now);
    }
}

// A failed read leaves no live report: the last one is no longer the gun's state.
void CGunWatch::ReadFailed(DWORD now) {
    m_hasReport = false;
    if (!m_link.IsOpen()) {
        m_status = kGunUnplugged;
        m_failures.End();
        return;
    }
    if (!m_failures.Failed(now)) {
        if (m_status != kGunReadsFailing) m_status = kGunReadFailed;
        return;
    }
    // As after an unplug: closed, and looked for once a second and on notices.
    m_link.Close();
    m_status = kGunReadsFailing;
}
