// Each tick: one look at the gun, and the window's texts and picture brought up to date.
#include "guntest/guntest_dlg.h"

#include "guntest/guntest_ids.h"

namespace {

// Glimmerdot's own window, found by its class and caption.
const char kGlimmerdotClass[] = "#32770";
const char kGlimmerdotCaption[] = "VEY Glimmerdot V1.0";

} // namespace

void CGunTestDlg::OnTimer(UINT)
{
    m_watch.Tick(::GetTickCount());
    ShowLook();
}

void CGunTestDlg::ShowLook()
{
    ShowGunState();
    if (m_calibrating != nullptr)
        m_calibrating->OnGun(m_watch.Report());
}

void CGunTestDlg::ShowGunState()
{
    const GunReport* report = m_watch.Report();
    char text[kFactTextSize];
    FormatStatusLine(m_watch, text);
    ShowFact(m_hWnd, m_facts[kStatus], text);
    FormatRawLine(report, text);
    ShowFact(m_hWnd, m_facts[kRaw], text);
    FormatButtonBytesLine(report, text);
    ShowFact(m_hWnd, m_facts[kButtonBytes], text);
    FormatHeldLine(report, text);
    ShowFact(m_hWnd, m_facts[kHeld], text);
    FormatCursorLine(report, m_screen, text);
    ShowFact(m_hWnd, m_facts[kCursor], text);
    // Read each time: Glimmerdot saves its choices at every Start.
    FormatPressLine(report, m_screen, m_play, ReadGlimmerdotLeft(), text);
    ShowFact(m_hWnd, m_facts[kPress], text);
    FormatReadRateLine(m_watch.ReadsPerSecond(::GetTickCount()), text);
    ShowFact(m_hWnd, m_facts[kReadRate], text);
    m_picture.Show(report);
    ShowGlimmerdotNote();
}

void CGunTestDlg::ShowGlimmerdotNote()
{
    const bool running = ::FindWindowA(kGlimmerdotClass, kGlimmerdotCaption) != nullptr;
    if (running == m_glimmerdotNoted)
        return;
    m_glimmerdotNoted = running;
    HWND note = GetDlgItem(IDC_GLIMMERDOT_NOTE);
    ::SetWindowTextA(note, running ? "Glimmerdot is running: both programs are reading the same gun" : "");
    ::ShowWindow(note, running ? SW_SHOW : SW_HIDE);
}
