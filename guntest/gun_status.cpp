// Each tick: one look at the gun, and the window's texts and picture brought up to date.
#include "guntest/guntest_dlg.h"

#include <cstring>

#include "guntest/guntest_ids.h"

namespace {

// Glimmerdot's own window, found by its class and caption.
const char kGlimmerdotClass[] = "#32770";
const char kGlimmerdotCaption[] = "VEY Glimmerdot V1.0";

} // namespace

void CGunTestDlg::OnTimer(UINT)
{
    m_watch.Tick(::GetTickCount());
    ShowGunState();
}

void CGunTestDlg::ShowGunState()
{
    const GunReport* report = m_watch.Report();
    char text[kFactTextSize];
    FormatStatusLine(m_watch, text);
    ShowFact(m_facts[kStatus], text);
    FormatRawLine(report, text);
    ShowFact(m_facts[kRaw], text);
    FormatButtonBytesLine(report, text);
    ShowFact(m_facts[kButtonBytes], text);
    FormatHeldLine(report, text);
    ShowFact(m_facts[kHeld], text);
    FormatCursorLine(report, m_screen, text);
    ShowFact(m_facts[kCursor], text);
    FormatReadRateLine(m_watch.ReadsPerSecond(::GetTickCount()), text);
    ShowFact(m_facts[kReadRate], text);
    m_picture.Show(report);
    ShowGlimmerdotNote();
}

// Each SetWindowText repaints the control; unchanged text is left alone.
void CGunTestDlg::ShowFact(FactLine& line, const char* text)
{
    if (std::strcmp(line.shown, text) == 0)
        return;
    ::SetDlgItemTextA(m_hWnd, line.id, text);
    ::lstrcpynA(line.shown, text, kFactTextSize);
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
