#include "guntest/settings_copy.h"

#include "framework/kernel_handle.h"

namespace {

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
