// The link to the gun through its driver's device interface, decoding each
// report into press edges against the one before.
#pragma once

#include "framework/platform.h"
#include "gun/failure_run.h"
#include "gun/gun_link.h"
#include "gun/gun_report.h"

class CGunDevice {
public:
    CGunDevice();
    virtual ~CGunDevice();

    // `window` hears when Windows wants the gun (LetGoWhenAsked).
    BOOL Open(HWND window = NULL);
    BOOL IsOpen() const;
    BOOL Poll(WORD& rawX, WORD& rawY, ButtonEdges& edges);
    BOOL LetGoWhenAsked(WPARAM event, LPARAM data) { return m_link.LetGoWhenAsked(event, data); }

private:
    BOOL ReadReport(ButtonEdges& edges);
    BOOL ReadFailed();

    CGunLink m_link;
    GunReport m_previous;
    FailureRun m_failures;

    CGunDevice(const CGunDevice&) = delete;
    CGunDevice& operator=(const CGunDevice&) = delete;
};
