// Owners of the platform handles the inspector opens.
#pragma once

#include <windows.h>

// A kernel handle whose empty value is NULL.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : m_handle(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : m_handle(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_handle = other.release();
        }
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    HANDLE release()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void reset()
    {
        if (m_handle != nullptr)
            ::CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

// A module loaded only to read its resources.
class ScopedModule {
public:
    explicit ScopedModule(HMODULE module) : m_module(module) {}
    ~ScopedModule()
    {
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
    }
    ScopedModule(const ScopedModule&) = delete;
    ScopedModule& operator=(const ScopedModule&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module;
};

// A hook of this thread.
class ScopedHook {
public:
    explicit ScopedHook(HHOOK hook) : m_hook(hook) {}
    ~ScopedHook()
    {
        if (m_hook != nullptr)
            ::UnhookWindowsHookEx(m_hook);
    }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;
    HHOOK get() const { return m_hook; }

private:
    HHOOK m_hook;
};

// The screen's device context.
class ScopedScreenDC {
public:
    ScopedScreenDC() : m_dc(::GetDC(nullptr)) {}
    ~ScopedScreenDC()
    {
        if (m_dc != nullptr)
            ::ReleaseDC(nullptr, m_dc);
    }
    ScopedScreenDC(const ScopedScreenDC&) = delete;
    ScopedScreenDC& operator=(const ScopedScreenDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
};
