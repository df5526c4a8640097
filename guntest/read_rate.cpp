#include "guntest/read_rate.h"

namespace {
const DWORD kWindowMs = 1000;
}

CReadRate::CReadRate() : m_stamps(), m_next(0), m_filled(0) {}

void CReadRate::Record(DWORD now) {
    m_stamps[m_next] = now;
    m_next = (m_next + 1) % kCapacity;
    if (m_filled < kCapacity) ++m_filled;
}

int CReadRate::PerSecond(DWORD now) const {
    int count = 0;
    for (int i = 0; i < m_filled; ++i) {
        // Unsigned difference: right across the tick count's wrap.
        if (now - m_stamps[i] < kWindowMs) ++count;
    }
    return count;
}
