// Reads failing one after another with an error other than an unplug's: timed
// from the first failure to a later one, so a blip of a failed read or two
// changes nothing while a driver that stopped answering is let go.
#pragma once

#include "framework/platform.h"

// How long reads may keep failing before the link is closed as an unplug
// closes it, and looked for again.
const DWORD kFailureRunMs = 300;

class FailureRun {
public:
    FailureRun() : m_failing(false), m_since(0) {}

    // A read failed at `now` (ms): true once failures have lasted the run.
    bool Failed(DWORD now) {
        if (!m_failing) {
            m_failing = true;
            m_since = now;
        }
        return now - m_since >= kFailureRunMs;
    }
    // A read answered, or failed for a reason of its own.
    void End() { m_failing = false; }
    bool IsOn() const { return m_failing; }

private:
    bool m_failing;
    DWORD m_since;
};
