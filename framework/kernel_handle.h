// The owner of a kernel object handle that CloseHandle releases. Which value
// means "none" depends on the call that made it: CreateFileA fails with
// INVALID_HANDLE_VALUE, OpenProcessToken leaves NULL.
#pragma once

#include "framework/platform.h"

struct NoneIsInvalidHandleValue {
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
};
struct NoneIsNull {
    static HANDLE None() { return NULL; }
};

template <typename NoneValue>
class KernelHandle {
public:
    KernelHandle() : m_handle(NoneValue::None()) {}
    ~KernelHandle() { Close(); }

    bool IsValid() const { return m_handle != NoneValue::None(); }
    HANDLE Get() const { return m_handle; }
    void Reset(HANDLE handle) {
        Close();
        m_handle = handle;
    }
    void Close() {
        if (IsValid()) CloseHandle(m_handle);
        m_handle = NoneValue::None();
    }
    // For a call that hands the handle back through a pointer: what was held
    // is released first.
    HANDLE* Receive() {
        Close();
        return &m_handle;
    }

private:
    HANDLE m_handle;

    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
};

typedef KernelHandle<NoneIsInvalidHandleValue> FileHandle;
typedef KernelHandle<NoneIsNull> TokenHandle;
