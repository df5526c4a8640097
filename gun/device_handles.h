// Owners of the platform resources the gun link takes: each releases what it
// holds when it goes, so every early return in Open is leak-free.
#pragma once

#include "framework/kernel_handle.h"
#include "framework/platform.h"

// A device-info list; SetupDiGetClassDevsA also fails with INVALID_HANDLE_VALUE.
class DeviceInfoList {
public:
    explicit DeviceInfoList(HDEVINFO set) : m_set(set) {}
    ~DeviceInfoList() {
        if (IsValid()) SetupDiDestroyDeviceInfoList(m_set);
    }

    bool IsValid() const { return m_set != INVALID_HANDLE_VALUE; }
    HDEVINFO Get() const { return m_set; }

private:
    HDEVINFO m_set;

    DeviceInfoList(const DeviceInfoList&) = delete;
    DeviceInfoList& operator=(const DeviceInfoList&) = delete;
};

// The variable-length interface detail record, sized by the driver's path.
class DeviceDetailBuffer {
public:
    explicit DeviceDetailBuffer(DWORD size)
        : m_detail(static_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(LocalAlloc(LMEM_FIXED, size))) {}
    ~DeviceDetailBuffer() {
        if (m_detail != NULL) LocalFree(m_detail);
    }

    bool IsValid() const { return m_detail != NULL; }
    PSP_DEVICE_INTERFACE_DETAIL_DATA_A Get() const { return m_detail; }

private:
    PSP_DEVICE_INTERFACE_DETAIL_DATA_A m_detail;

    DeviceDetailBuffer(const DeviceDetailBuffer&) = delete;
    DeviceDetailBuffer& operator=(const DeviceDetailBuffer&) = delete;
};

// A registration for the notices Windows sends about the gun's handle before
// and after it takes the device away; shaped like KernelHandle.
class DeviceNotification {
public:
    DeviceNotification() : m_notify(NULL) {}
    ~DeviceNotification() { Close(); }

    bool IsValid() const { return m_notify != NULL; }
    HDEVNOTIFY Get() const { return m_notify; }
    void Reset(HDEVNOTIFY notify) {
        Close();
        m_notify = notify;
    }
    void Close() {
        if (IsValid()) UnregisterDeviceNotification(m_notify);
        m_notify = NULL;
    }

private:
    HDEVNOTIFY m_notify;

    DeviceNotification(const DeviceNotification&) = delete;
    DeviceNotification& operator=(const DeviceNotification&) = delete;
};
