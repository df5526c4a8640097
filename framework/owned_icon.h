// The owner of an icon made for this program alone (LoadImage without
// LR_SHARED), which DestroyIcon releases. An icon shared from the module's
// resources (LoadIcon) needs no owner.
#pragma once

#include "framework/platform.h"

class OwnedIcon {
public:
    OwnedIcon() : m_icon(NULL) {}
    ~OwnedIcon() { Reset(NULL); }

    HICON Get() const { return m_icon; }
    void Reset(HICON icon) {
        if (m_icon != NULL) DestroyIcon(m_icon);
        m_icon = icon;
    }

    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;

private:
    HICON m_icon;
};
