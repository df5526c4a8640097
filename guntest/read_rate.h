// Successful reads over the last second, from a fixed ring of their times.
#pragma once

#include "framework/platform.h"

class CReadRate {
public:
    CReadRate();

    void Record(DWORD now);
    // Reads stamped less than a second before `now`; tick counts may wrap.
    int PerSecond(DWORD now) const;

private:
    // A 60 ms poll makes 17 reads a second; the ring holds well over that.
    static const int kCapacity = 64;

    DWORD m_stamps[kCapacity];
    int m_next;
    int m_filled;
};
