// Gun Test's resource and control identifiers, shared by the code, the .rc and the tests.
#pragma once

#define IDD_GUN_TEST            101
#define IDR_MAINFRAME           128

// Each fact is the text of its own static control.
#define IDC_GUN_STATUS          2001
#define IDC_GUN_RAW             2002
#define IDC_GUN_BUTTON_BYTES    2003
#define IDC_GUN_HELD            2004
#define IDC_GUN_CURSOR          2005
#define IDC_GUN_READ_RATE       2006
#define IDC_GLIMMERDOT_NOTE     2007
#define IDC_AIM_PICTURE         2008

#define WATCH_TIMER_ID          1
#define WATCH_INTERVAL_MS       60
