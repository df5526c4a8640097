// The link to the gun through its driver's device interface, decoding each
// report into press edges against the one before.
#pragma once

#include "framework/platform.h"
#include "gun/gun_link.h"
#include "gun/gun_report.h"

class CGunDevice {
public:
    CGunDevice();
    virtual ~CGunDevice();

    BOOL Open();
    BOOL IsOpen() const;
    BOOL Poll(WORD& rawX, WORD& rawY, ButtonEdges& edges);

private:
    BOOL ReadReport(ButtonEdges& edges);

    CGunLink m_link;
    GunReport m_previous;

    CGunDevice(const CGunDevice&) = delete;
    CGunDevice& operator=(const CGunDevice&) = delete;
};
