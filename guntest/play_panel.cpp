// The play settings' controls: filled from the stored value at start, written
// by Save, removed by Defaults; nothing is written otherwise.
#include "guntest/guntest_dlg.h"

#include "guntest/guntest_ids.h"

namespace {

const int kChoiceIds[kPlayChoiceCount] = {IDC_PLAY_OFF_SCREEN, IDC_PLAY_BUTTONS, IDC_PLAY_AIM_RATE,
                                          IDC_PLAY_RAW_INPUT,  IDC_PLAY_X1,      IDC_PLAY_X2};

// Adds each '|'-separated item in order; an empty one stays a blank item.
void FillList(HWND list, const char* items) {
    char item[32];
    int length = 0;
    for (const char* at = items;; ++at) {
        if (*at != '|' && *at != '\0') {
            if (length < static_cast<int>(sizeof item) - 1)
                item[length++] = *at;
            continue;
        }
        item[length] = '\0';
        length = 0;
        ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        if (*at == '\0')
            return;
    }
}

}  // namespace

void CGunTestDlg::InitPlayPanel()
{
    for (int i = 0; i < kPlayChoiceCount; ++i) {
        const char* items = PlayChoiceItems(i);
        if (items != nullptr)
            FillList(::GetDlgItem(m_hWnd, kChoiceIds[i]), items);
    }
    ShowPlayPanel(LoadPlayPanel());
}

void CGunTestDlg::ShowPlayPanel(const PlayPanel& panel)
{
    m_play = panel.play;
    int choices[kPlayChoiceCount];
    PlayToChoices(m_play, choices);
    for (int i = 0; i < kPlayChoiceCount; ++i) {
        HWND control = ::GetDlgItem(m_hWnd, kChoiceIds[i]);
        ::SendMessageA(control, PlayChoiceItems(i) != nullptr ? CB_SETCURSEL : BM_SETCHECK, choices[i], 0);
    }
    char text[kFactTextSize];
    FormatPlayLine(panel, text);
    ::SetDlgItemTextA(m_hWnd, IDC_PLAY_LINE, text);
}

void CGunTestDlg::OnPlayChosen(UINT)
{
    int choices[kPlayChoiceCount];
    for (int i = 0; i < kPlayChoiceCount; ++i) {
        HWND control = ::GetDlgItem(m_hWnd, kChoiceIds[i]);
        choices[i] = static_cast<int>(
            ::SendMessageA(control, PlayChoiceItems(i) != nullptr ? CB_GETCURSEL : BM_GETCHECK, 0, 0));
    }
    m_play = PlayFromChoices(choices);
    ShowGunState();
}

void CGunTestDlg::OnSavePlay()
{
    ShowPlayPanel(SavePlayPanel(m_play));
}

void CGunTestDlg::OnPlayDefaults()
{
    ShowPlayPanel(RemovePlayPanel(m_play));
    ShowGunState();
}
