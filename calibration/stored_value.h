// The binary values kept beside Glimmerdot's settings under
// HKLM\SOFTWARE\VEY\Lumipoint, each read, written and removed whole; the
// other values there are never touched.
#pragma once

#include "framework/platform.h"

enum StoredValueState {
    kValueAbsent,     // no such value, or no key to hold it
    kValueRead,       // a binary value that fitted; `size` says how long it is
    kValueMalformed,  // another type, or longer than the buffer
};

// Never writes. `size` goes in as the buffer's size and comes out as the value's.
StoredValueState ReadStoredValue(const char* name, BYTE* bytes, DWORD& size);
// Creates the key if needed. A failure's registry result goes to `error` when given.
bool WriteStoredValue(const char* name, const BYTE* bytes, DWORD size, LONG* error = NULL);
// true when the value is gone, also when there was none.
bool RemoveStoredValue(const char* name, LONG* error = NULL);

// Little-endian fields of a stored value.
inline void PutDword(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

inline DWORD GetDword(const BYTE* at) {
    DWORD value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}
