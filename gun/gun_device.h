// The link to the gun through its driver's device interface.
#pragma once

#include "framework/platform.h"
#include "gun/device_handles.h"
#include "gun/gun_report.h"

// {1F6C1AAA-0919-4A8D-B0CD-68566229DE66}
extern const GUID GUID_DEVINTERFACE_GUN;

class CGunDevice {
public:
    CGunDevice();
    virtual ~CGunDevice();

    BOOL Open();
    BOOL IsOpen() const;
    BOOL Poll(WORD& rawX, WORD& rawY, ButtonEdges& edges);

private:
    BOOL ReadReport(ButtonEdges& edges);

    FileHandle m_handle;  // invalid while the link is closed
    GunReport m_previous;

    CGunDevice(const CGunDevice&) = delete;
    CGunDevice& operator=(const CGunDevice&) = delete;
};
