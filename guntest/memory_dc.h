// An off-screen copy of a paint target: draw into it, then copy it out with
// one BitBlt, so the screen never shows a half-drawn picture.
#pragma once

#include "framework/platform.h"

class CMemoryDC {
public:
    CMemoryDC(HDC target, int width, int height)
        : m_dc(::CreateCompatibleDC(target)),
          m_bitmap(::CreateCompatibleBitmap(target, width, height)),
          m_previous(nullptr)
    {
        if (m_dc != nullptr && m_bitmap != nullptr)
            m_previous = ::SelectObject(m_dc, m_bitmap);
    }
    ~CMemoryDC()
    {
        if (m_previous != nullptr)
            ::SelectObject(m_dc, m_previous);
        if (m_bitmap != nullptr)
            ::DeleteObject(m_bitmap);
        if (m_dc != nullptr)
            ::DeleteDC(m_dc);
    }

    bool IsValid() const { return m_previous != nullptr; }
    HDC Get() const { return m_dc; }

    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

// An object selected into a device context for one drawing, the old one put back after.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            ::SelectObject(m_dc, m_previous);
    }

    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
