#include "guntest/settings_copy.h"

namespace {

// A process token; NULL is "none" for OpenProcessToken.
class TokenHandle {
public:
    TokenHandle() : m_handle(NULL) {}
    ~TokenHandle() {
        if (m_handle != NULL) CloseHandle(m_handle);
    }
    HANDLE Get() const { return m_handle; }
    HANDLE* Receive() { return &m_handle; }

private:
    HANDLE m_handle;

    TokenHandle(const TokenHandle&) = delete;
    TokenHandle& operator=(const TokenHandle&) = delete;
};

// Both classes answer one DWORD (TOKEN_ELEVATION is one), non-zero for yes.
TokenAnswer Ask(HANDLE token, TOKEN_INFORMATION_CLASS what) {
    DWORD value = 0;
    DWORD size = 0;
    if (!GetTokenInformation(token, what, &value, sizeof value, &size)) return TokenAnswer{false, false};
    return TokenAnswer{true, value != 0};
}

}  // namespace

// Virtualization decides where it is on; an elevated token never has it.
SettingsCopy DecideSettingsCopy(TokenAnswer elevated, TokenAnswer virtualized) {
    if (virtualized.known && virtualized.yes) return kUserCopy;
    if (elevated.known && elevated.yes) return kComputerCopy;
    if (elevated.known && virtualized.known) return kComputerCopyLocked;
    return kCopyUntold;
}

SettingsCopy ReadSettingsCopy() {
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return kCopyUntold;
    const TokenAnswer elevated = Ask(token.Get(), TokenElevation);
    return DecideSettingsCopy(elevated, Ask(token.Get(), TokenVirtualizationEnabled));
}
