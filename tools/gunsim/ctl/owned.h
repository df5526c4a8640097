// Tiny owners for the platform handles the control program takes.
#pragma once

#include <windows.h>

class OwnedFile {
public:
    explicit OwnedFile(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~OwnedFile() { if (IsValid()) CloseHandle(m_handle); }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;

    void Reset(HANDLE handle) { if (IsValid()) CloseHandle(m_handle); m_handle = handle; }
    // Hands the handle on without closing it.
    void Release() { m_handle = INVALID_HANDLE_VALUE; }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

class OwnedService {
public:
    explicit OwnedService(SC_HANDLE handle = NULL) : m_handle(handle) {}
    ~OwnedService() { if (m_handle) CloseServiceHandle(m_handle); }
    OwnedService(const OwnedService&) = delete;
    OwnedService& operator=(const OwnedService&) = delete;

    void Reset(SC_HANDLE handle) { if (m_handle) CloseServiceHandle(m_handle); m_handle = handle; }
    SC_HANDLE Get() const { return m_handle; }

private:
    SC_HANDLE m_handle;
};

class OwnedKey {
public:
    OwnedKey() : m_key(NULL) {}
    ~OwnedKey() { if (m_key) RegCloseKey(m_key); }
    OwnedKey(const OwnedKey&) = delete;
    OwnedKey& operator=(const OwnedKey&) = delete;

    HKEY* Receive() { if (m_key) RegCloseKey(m_key); m_key = NULL; return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key;
};

// Memory the system hands out with LocalAlloc (CommandLineToArgvW's array).
template <typename T>
class OwnedLocal {
public:
    explicit OwnedLocal(T* memory) : m_memory(memory) {}
    ~OwnedLocal() { if (m_memory) LocalFree(m_memory); }
    OwnedLocal(const OwnedLocal&) = delete;
    OwnedLocal& operator=(const OwnedLocal&) = delete;

    T* Get() const { return m_memory; }

private:
    T* m_memory;
};
