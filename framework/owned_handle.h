// One owner for every platform handle the programs hold. `Release` says what
// lets go of it, and which value means "none": that depends on the call that
// made it (CreateFileA and SetupDiGetClassDevsA fail with
// INVALID_HANDLE_VALUE, OpenProcessToken and LoadImageA leave NULL).
#pragma once

#include "framework/platform.h"

template <typename Handle, Handle (*None)(), void (*Release)(Handle)>
class OwnedHandle {
public:
    OwnedHandle() : m_handle(None()) {}
    ~OwnedHandle() { Close(); }

    bool IsValid() const { return m_handle != None(); }
    Handle Get() const { return m_handle; }
    void Reset(Handle handle) {
        Close();
        m_handle = handle;
    }
    void Close() {
        if (IsValid()) Release(m_handle);
        m_handle = None();
    }
    // For a call that hands the handle back through a pointer: what was held
    // is released first.
    Handle* Receive() {
        Close();
        return &m_handle;
    }

private:
    Handle m_handle;

    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
};

namespace owned_detail {
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }
template <typename Handle>
inline Handle Null() { return NULL; }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
}  // namespace owned_detail

typedef OwnedHandle<HANDLE, owned_detail::InvalidHandleValue, owned_detail::CloseKernelHandle> FileHandle;
typedef OwnedHandle<HANDLE, owned_detail::Null<HANDLE>, owned_detail::CloseKernelHandle> TokenHandle;
