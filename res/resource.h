// Resource and control identifiers, shared by the code, the .rc and the tests.
#pragma once

#define IDD_CONTROL_PANEL   102
#define IDR_MAINFRAME       128
#define IDB_LOGO            129
#define IDR_TRAY_MENU       200

#define IDC_SPEED_SLIDER    1003
#define IDC_STOP            1004
#define IDC_START           1005
#define IDC_LEFT_BUTTON     1006
#define IDC_MIDDLE_BUTTON   1007
#define IDC_RIGHT_BUTTON    1008
#define IDC_LOGO            1009

#define ID_TRAY_SETTING     40001
#define ID_TRAY_EXIT        40002

#ifndef ID_HELP
#define ID_HELP             0xE146
#endif

#define WM_TRAY_NOTIFY      3032
#define POLL_TIMER_ID       0
#define POLL_INTERVAL_MS    60
