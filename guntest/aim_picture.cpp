// Painting the picture: the whole of it into an off-screen bitmap, then one copy.
#include "guntest/aim_picture.h"

#include <cstring>

#include "guntest/memory_dc.h"
#include "guntest/window_dpi.h"
#include "pointer/aim_mapping.h"

BEGIN_MESSAGE_MAP(CAimPicture, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_DPICHANGED_AFTERPARENT, OnDpiChanged)
END_MESSAGE_MAP()

namespace {

// At 100 %; drawn at the display's scale.
const int kMargin = 6;
const int kLampRowHeight = 24;
const int kLampSize = 14;
const int kCrossArm = 12;
// Room around the frame for a whole crosshair waiting on its edge.
const int kFrameInset = kCrossArm + 2;
const int kLabelGap = 4;

const COLORREF kWindowFill = RGB(255, 255, 255);
const COLORREF kFrame = RGB(64, 64, 64);
const COLORREF kMiddleLine = RGB(208, 208, 208);
const COLORREF kAimInside = RGB(0, 64, 200);
const COLORREF kAimOutside = RGB(220, 0, 0);
const COLORREF kLampLit = RGB(0, 200, 0);
const COLORREF kLampDark = RGB(200, 200, 200);

int Clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

void FillWith(HDC dc, const RECT& rect, COLORREF colour)
{
    ::SetDCBrushColor(dc, colour);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

} // namespace

CAimPicture::CAimPicture() : m_hasReport(false), m_report(kIdleReport), m_window(DefaultAimWindow())
{
}

void CAimPicture::SetAimWindow(const AimWindow& window)
{
    m_window = window;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

// The aim window's shape, as large as fits in `space`, centred.
RECT CAimPicture::FitAimWindow(const RECT& space) const
{
    const double aimWidth = static_cast<double>(m_window.right) - m_window.left;
    const double aimHeight = static_cast<double>(m_window.bottom) - m_window.top;
    int width = space.right - space.left;
    int height = space.bottom - space.top;
    if (width * aimHeight > height * aimWidth)
        width = static_cast<int>(height * aimWidth / aimHeight);
    else
        height = static_cast<int>(width * aimHeight / aimWidth);
    const int left = space.left + (space.right - space.left - width) / 2;
    const int top = space.top + (space.bottom - space.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

void CAimPicture::Show(const GunReport* report)
{
    const bool hasReport = report != nullptr;
    const bool same = hasReport == m_hasReport &&
                      (!hasReport || std::memcmp(report->bytes, m_report.bytes, sizeof m_report.bytes) == 0);
    if (same)
        return;
    m_hasReport = hasReport;
    if (hasReport)
        m_report = *report;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

void CAimPicture::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC buffer(dc.GetSafeHdc(), client.Width(), client.Height());
    if (!buffer.IsValid())
        return;
    Draw(buffer.Get(), client, WindowDpi(m_hWnd));
    ::BitBlt(dc.GetSafeHdc(), 0, 0, client.Width(), client.Height(), buffer.Get(), 0, 0, SRCCOPY);
}

// The dialog manager scaled the window to another display's DPI: all of the
// picture again, at the new sizes.
LRESULT CAimPicture::OnDpiChanged(WPARAM, LPARAM)
{
    Invalidate(FALSE);
    return 0;
}

// Every pixel is painted in OnPaint; erasing first is what would flicker.
BOOL CAimPicture::OnEraseBkgnd(HDC)
{
    return TRUE;
}

void CAimPicture::Draw(HDC dc, const RECT& area, UINT dpi) const
{
    FillWith(dc, area, ::GetSysColor(COLOR_BTNFACE));
    CSelectObject pen(dc, ::GetStockObject(DC_PEN));
    CSelectObject brush(dc, ::GetStockObject(DC_BRUSH));
    CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(::GetParent(m_hWnd), WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));

    const int inset = AtDpi(kFrameInset, dpi);
    const int margin = AtDpi(kMargin, dpi);
    const int rowTop = area.bottom - margin - AtDpi(kLampRowHeight, dpi);
    const RECT space = {area.left + inset, area.top + inset, area.right - inset, rowTop - inset};
    DrawAimWindow(dc, FitAimWindow(space), dpi);
    DrawLamps(dc, RECT{area.left + margin, rowTop, area.right - margin, area.bottom - margin}, dpi);
}

void CAimPicture::DrawAimWindow(HDC dc, const RECT& window, UINT dpi) const
{
    ::SetDCPenColor(dc, kFrame);
    ::SetDCBrushColor(dc, kWindowFill);
    ::Rectangle(dc, window.left, window.top, window.right, window.bottom);

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int middleX = window.left + width / 2;
    const int middleY = window.top + height / 2;
    ::SetDCPenColor(dc, kMiddleLine);
    ::MoveToEx(dc, middleX, window.top + 1, nullptr);
    ::LineTo(dc, middleX, window.bottom - 1);
    ::MoveToEx(dc, window.left + 1, middleY, nullptr);
    ::LineTo(dc, window.right - 1, middleY);

    if (!m_hasReport)
        return;
    const WORD rawX = ReportRawX(m_report);
    const WORD rawY = ReportRawY(m_report);
    if (IsAimedOffScreen(rawX, rawY))
        return;
    const float aimX = static_cast<float>(rawX);
    const float aimY = static_cast<float>(rawY);
    const bool inside = aimX >= m_window.left && aimX <= m_window.right && aimY >= m_window.top &&
                        aimY <= m_window.bottom;
    // Outside the aim window the crosshair waits on its edge, in another colour.
    const double across = (rawX - static_cast<double>(m_window.left)) / (m_window.right - m_window.left);
    const double down = (rawY - static_cast<double>(m_window.top)) / (m_window.bottom - m_window.top);
    const int x = Clamp(window.left + static_cast<int>(across * width), window.left, window.right - 1);
    const int y = Clamp(window.top + static_cast<int>(down * height), window.top, window.bottom - 1);
    const COLORREF colour = inside ? kAimInside : kAimOutside;
    const int arm = AtDpi(kCrossArm, dpi);
    const int half = AtDpi(1, dpi);
    FillWith(dc, RECT{x - arm, y - half, x + arm + 1, y + half + 1}, colour);
    FillWith(dc, RECT{x - half, y - arm, x + half + 1, y + arm + 1}, colour);
}

void CAimPicture::DrawLamps(HDC dc, const RECT& row, UINT dpi) const
{
    const int cellWidth = (row.right - row.left) / kLabelledButtonCount;
    const int lampSize = AtDpi(kLampSize, dpi);
    const int lampTop = row.top + (row.bottom - row.top - lampSize) / 2;
    for (int button = 0; button < kLabelledButtonCount; ++button) {
        const int left = row.left + button * cellWidth;
        const bool lit = m_hasReport && IsButtonDown(m_report, button);
        ::SetDCPenColor(dc, kFrame);
        ::SetDCBrushColor(dc, lit ? kLampLit : kLampDark);
        ::Ellipse(dc, left, lampTop, left + lampSize, lampTop + lampSize);

        RECT label = {left + lampSize + AtDpi(kLabelGap, dpi), row.top, left + cellWidth, row.bottom};
        ::DrawTextA(dc, ButtonLabel(button), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}
