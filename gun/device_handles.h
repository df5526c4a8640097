// Owners of the platform resources the gun link takes: each releases what it
// holds when it goes, so every early return in Open is leak-free.
#pragma once

#include "framework/owned_handle.h"
#include "framework/platform.h"

namespace owned_detail {
inline HDEVINFO NoDeviceInfoList() { return INVALID_HANDLE_VALUE; }
inline void DestroyDeviceInfoList(HDEVINFO set) { SetupDiDestroyDeviceInfoList(set); }
inline void Unregister(HDEVNOTIFY notify) { UnregisterDeviceNotification(notify); }
}  // namespace owned_detail

typedef OwnedHandle<HDEVINFO, owned_detail::NoDeviceInfoList, owned_detail::DestroyDeviceInfoList> DeviceInfoList;

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
// and after it takes the device away.
typedef OwnedHandle<HDEVNOTIFY, owned_detail::Null<HDEVNOTIFY>, owned_detail::Unregister> DeviceNotification;
