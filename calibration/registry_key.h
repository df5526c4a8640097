// An open registry key, closed when its owner goes.
#pragma once

#include "framework/platform.h"

class RegistryKey {
public:
    RegistryKey() : m_key(NULL) {}
    ~RegistryKey() {
        if (m_key != NULL) RegCloseKey(m_key);
    }

    HKEY Get() const { return m_key; }
    // Where an open or create call writes the key; only used while closed.
    PHKEY Receive() { return &m_key; }
    // Takes the open/create call's result: a failed call opened nothing,
    // whatever it may have written, so there is nothing to close.
    bool Keep(LONG result) {
        if (result != ERROR_SUCCESS) m_key = NULL;
        return m_key != NULL;
    }

private:
    HKEY m_key;

    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
};
