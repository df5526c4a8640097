// Gun Test's resource and control identifiers, shared by the code, the .rc and the tests.
#pragma once

#define IDD_GUN_TEST            101
#define IDD_CALIBRATION         102
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
#define IDC_CALIBRATION_LINE    2009
#define IDC_CALIBRATE           2010
#define IDC_RESET_CALIBRATION   2011
#define IDC_SETTINGS_LINE       2012
#define IDC_PRESS_LINE          2013

// The play settings: the lists and the check box in PlaySettings' order, then
// the buttons and the line that says what is stored.
#define IDC_PLAY_OFF_SCREEN     2021
#define IDC_PLAY_BUTTONS        2022
#define IDC_PLAY_AIM_RATE       2023
#define IDC_PLAY_RAW_INPUT      2024
#define IDC_PLAY_X1             2025
#define IDC_PLAY_X2             2026
#define IDC_PLAY_SAVE           2027
#define IDC_PLAY_DEFAULTS       2028
#define IDC_PLAY_LINE           2029

// The calibration screen's lines.
#define IDC_CALIBRATION_STEP    2101
#define IDC_CALIBRATION_TARGET  2102
#define IDC_CALIBRATION_CHECK   2103
#define IDC_CALIBRATION_NOTE    2104
#define IDC_CALIBRATION_HELP    2105

#define WATCH_TIMER_ID          1
#define WATCH_INTERVAL_MS       60
