// Real dialogs driven through the framework under Wine: which handler each
// message reaches, default processing around a handler, how a dialog ends and
// where it opens. The exit code is the number of failed checks, delivered
// through the application's own message pump.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/framework.h"
#include "framework/tests/test_resource.h"

namespace {

int g_failures = 0;

void Check(bool ok, const char* what, const char* scenario, int line)
{
    if (ok)
        return;
    ++g_failures;
    std::printf("%s (line %d): %s\n", scenario, line, what);
    std::fflush(stdout);
}
#define CHECK(scenario, condition) Check((condition), #condition, (scenario), __LINE__)

const UINT WM_NESTED = WM_APP + 1;
const UINT kWatchdogTimer = 99;
const INT_PTR kTimedOut = 99;

bool Near(LONG actual, LONG expected)
{
    return std::labs(actual - expected) <= 1;
}

} // namespace

// Ends itself with kTimedOut if nothing else ends it, and notes where its
// window was created and where it was when destroyed.
class CTestDlg : public CDialog {
public:
    explicit CTestDlg(UINT templateId) : CDialog(templateId) {}

    RECT created = {};
    RECT destroyed = {};

protected:
    BOOL OnInitDialog() override
    {
        ::GetWindowRect(m_hWnd, &created);
        // Only a hang should reach it: a slow machine may take seconds per dialog.
        SetTimer(kWatchdogTimer, 60000, nullptr);
        return TRUE;
    }
    void OnTimer(UINT) { ::EndDialog(m_hWnd, kTimedOut); }
    void OnDestroy()
    {
        ::GetWindowRect(m_hWnd, &destroyed);
        CWnd::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// A control taken over by SubclassDlgItem: its own map first, then the control's procedure.
class CProbeControl : public CWnd {
public:
    int erases = 0;

protected:
    BOOL OnEraseBkgnd(HDC)
    {
        ++erases;
        return 5;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeControl, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// Sends itself one message of each kind while it initialises, then ends.
class CRoutingDlg : public CTestDlg {
public:
    CRoutingDlg() : CTestDlg(IDD_AT_ORIGIN) {}

    static const UINT s_probeMessage;

    int firstClicks = 0;
    UINT rangeIds[8] = {};
    int rangeCount = 0;
    LRESULT registeredResult = 0;
    LRESULT dragIconResult = 0;
    HICON dragIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    char textSeenInHandler[32] = "";
    CPoint mousePoint;
    int sizeCx = 0;
    int sizeCy = 0;
    UINT displayDepth = 0;
    int displayCx = 0;
    int displayCy = 0;
    CProbeControl probe;
    CProbeControl missing;
    BOOL subclassed = FALSE;
    BOOL subclassedMissing = TRUE;
    LRESULT eraseResult = 0;
    char controlText[16] = "";

protected:
    BOOL OnInitDialog() override
    {
        CTestDlg::OnInitDialog();
        const LPARAM control = reinterpret_cast<LPARAM>(GetDlgItem(IDOK));

        SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FIRST, BN_CLICKED), control);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FIRST, BN_DOUBLECLICKED), control);
        for (UINT id = IDC_RANGE_FIRST - 1; id <= IDC_RANGE_LAST + 1; ++id)
            SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), control);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDC_RANGE_FIRST, CBN_DROPDOWN), control);

        // Menu and accelerator commands nobody in the dialog takes go on to the application.
        SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_PROBE, 0), 0);
        SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_PROBE, 1), 0);

        registeredResult = SendMessage(s_probeMessage, 40, 2);
        dragIconResult = SendMessage(WM_QUERYDRAGICON);
        ::SetWindowTextA(m_hWnd, "after");
        SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-5, 7));
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
        SendMessage(WM_DISPLAYCHANGE, 16, MAKELPARAM(800, 600));

        subclassed = probe.SubclassDlgItem(IDC_SUBCLASSED, this);
        subclassedMissing = missing.SubclassDlgItem(4321, this);
        eraseResult = ::SendMessageA(probe.m_hWnd, WM_ERASEBKGND, 0, 0);
        ::SetWindowTextA(probe.m_hWnd, "own proc");
        ::GetWindowTextA(probe.m_hWnd, controlText, sizeof controlText);

        ::PostMessageA(m_hWnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

    void OnFirst() { ++firstClicks; }
    void OnRange(UINT id)
    {
        if (rangeCount < 8)
            rangeIds[rangeCount++] = id;
    }
    LRESULT OnRegistered(WPARAM wParam, LPARAM lParam) { return wParam + lParam; }
    HCURSOR OnQueryDragIcon() { return dragIcon; }
    void OnMouseMove(UINT, CPoint point) { mousePoint = point; }
    void OnSize(UINT, int cx, int cy)
    {
        sizeCx = cx;
        sizeCy = cy;
    }
    void OnDisplayChange(UINT depth, int cx, int cy)
    {
        displayDepth = depth;
        displayCx = cx;
        displayCy = cy;
    }
    LRESULT OnNested(WPARAM, LPARAM) { return Default(); }
    // Default processing first, then work that relies on it.
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        SendMessage(WM_NESTED);
        const LRESULT result = Default();
        ::GetWindowTextA(m_hWnd, textSeenInHandler, sizeof textSeenInHandler);
        return result;
    }

    DECLARE_MESSAGE_MAP()
};

const UINT CRoutingDlg::s_probeMessage = ::RegisterWindowMessageA("GlimmerdotFrameworkProbe");

BEGIN_MESSAGE_MAP(CRoutingDlg, CTestDlg)
    ON_BN_CLICKED(IDC_FIRST, OnFirst)
    ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_RANGE_FIRST, IDC_RANGE_LAST, OnRange)
    ON_REGISTERED_MESSAGE(s_probeMessage, OnRegistered)
    ON_WM_QUERYDRAGICON()
    ON_WM_MOUSEMOVE()
    ON_WM_SIZE()
    ON_WM_DISPLAYCHANGE()
    ON_MESSAGE(WM_NESTED, OnNested)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

// Ends the way a user or the system would end it: the message goes through
// the modal loop, so keys meet the dialog manager.
class CEndingDlg : public CTestDlg {
public:
    CEndingDlg(UINT message, WPARAM wParam)
        : CTestDlg(IDD_AT_ORIGIN), m_message(message), m_wParam(wParam)
    {
    }

protected:
    BOOL OnInitDialog() override
    {
        CTestDlg::OnInitDialog();
        ::PostMessageA(m_hWnd, m_message, m_wParam, 0);
        return TRUE;
    }

private:
    UINT m_message;
    WPARAM m_wParam;
};

// Optionally moves itself while it initialises, then ends.
class CPlacementDlg : public CTestDlg {
public:
    CPlacementDlg(UINT templateId, const POINT* moveTo) : CTestDlg(templateId), m_moveTo(moveTo) {}

protected:
    BOOL OnInitDialog() override
    {
        CTestDlg::OnInitDialog();
        if (m_moveTo != nullptr)
            ::SetWindowPos(m_hWnd, nullptr, m_moveTo->x, m_moveTo->y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::PostMessageA(m_hWnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

private:
    const POINT* m_moveTo;
};

class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override;

    int appProbes = 0;

protected:
    void OnAppProbe() { ++appProbes; }

    DECLARE_MESSAGE_MAP()

private:
    void TestRouting();
    void TestEnding();
    void TestPlacement();
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_APP_PROBE, OnAppProbe)
END_MESSAGE_MAP()

CTestApp theApp;

void CTestApp::TestRouting()
{
    const char* scenario = "routing";
    CRoutingDlg dialog;
    CHECK(scenario, dialog.DoModal() == IDOK);
    CHECK(scenario, dialog.m_hWnd == nullptr);

    CHECK(scenario, dialog.firstClicks == 1);
    CHECK(scenario, dialog.rangeCount == 3);
    CHECK(scenario, dialog.rangeIds[0] == IDC_RANGE_FIRST && dialog.rangeIds[2] == IDC_RANGE_LAST);
    CHECK(scenario, appProbes == 2);
    CHECK(scenario, dialog.registeredResult == 42);
    CHECK(scenario, dialog.dragIconResult == reinterpret_cast<LRESULT>(dialog.dragIcon));
    CHECK(scenario, std::strcmp(dialog.textSeenInHandler, "after") == 0);
    CHECK(scenario, dialog.mousePoint.x == -5 && dialog.mousePoint.y == 7);
    CHECK(scenario, dialog.sizeCx == 300 && dialog.sizeCy == 200);
    CHECK(scenario, dialog.displayDepth == 16 && dialog.displayCx == 800 && dialog.displayCy == 600);
    CHECK(scenario, dialog.subclassed && !dialog.subclassedMissing);
    CHECK(scenario, dialog.eraseResult == 5 && dialog.probe.erases == 1);
    CHECK(scenario, std::strcmp(dialog.controlText, "own proc") == 0);
    CHECK(scenario, dialog.probe.m_hWnd == nullptr);
}

void CTestApp::TestEnding()
{
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        INT_PTR expected;
    };
    const Case cases[] = {
        { "IDOK command", WM_COMMAND, IDOK, IDOK },
        { "IDCANCEL command", WM_COMMAND, IDCANCEL, IDCANCEL },
        { "Esc key", WM_KEYDOWN, VK_ESCAPE, IDCANCEL },
        { "Enter key, default button OK", WM_KEYDOWN, VK_RETURN, IDOK },
        { "close box", WM_SYSCOMMAND, SC_CLOSE, IDCANCEL },
    };
    for (const Case& c : cases) {
        CEndingDlg dialog(c.message, c.wParam);
        CHECK(c.name, dialog.DoModal() == c.expected);
    }
}

void CTestApp::TestPlacement()
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;

    CPlacementDlg unplaced(IDD_AT_ORIGIN, nullptr);
    unplaced.DoModal();
    const RECT& window = unplaced.destroyed;
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    CHECK("no position: centred", Near(window.left, (area.left + area.right) / 2 - width / 2));
    CHECK("no position: centred", Near(window.top, (area.top + area.bottom) / 2 - height / 2));

    CPlacementDlg placed(IDD_PLACED, nullptr);
    placed.DoModal();
    CHECK("template position: kept", placed.created.left > 0);
    CHECK("template position: kept", ::EqualRect(&placed.created, &placed.destroyed));

    const POINT moveTo = { 30, 40 };
    CPlacementDlg moved(IDD_AT_ORIGIN, &moveTo);
    moved.DoModal();
    CHECK("moved while initialising: kept", moved.destroyed.left == 30 && moved.destroyed.top == 40);
}

BOOL CTestApp::InitInstance()
{
    TestRouting();
    TestEnding();
    TestPlacement();
    std::printf("%d failed checks\n", g_failures);
    std::fflush(stdout);
    ::PostQuitMessage(g_failures);
    return TRUE;
}
