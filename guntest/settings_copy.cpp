#include "guntest/settings_copy.h"

#include "framework/owned_handle.h"

namespace {

// One answer of the token: whether it came, and what it was.
struct TokenAnswer {
    bool known;
    bool yes;
};

// Both classes answer one DWORD (TOKEN_ELEVATION is one), non-zero for yes.
TokenAnswer Ask(HANDLE token, TOKEN_INFORMATION_CLASS what) {
    DWORD value = 0;
    DWORD size = 0;
    if (!GetTokenInformation(token, what, &value, sizeof value, &size)) return TokenAnswer{false, false};
    return TokenAnswer{true, value != 0};
}

}  // namespace

SettingsCopy ReadSettingsCopy() {
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return kCopyUntold;
    const TokenAnswer elevated = Ask(token.Get(), TokenElevation);
    const TokenAnswer virtualized = Ask(token.Get(), TokenVirtualizationEnabled);
    // Virtualization decides where it is on; an elevated token never has it.
    if (virtualized.known && virtualized.yes) return kUserCopy;
    if (elevated.known && elevated.yes) return kComputerCopy;
    if (elevated.known && virtualized.known) return kComputerCopyLocked;
    return kCopyUntold;
}
