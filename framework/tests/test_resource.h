// Identifiers of the framework test's own dialogs.
#pragma once

#define IDD_AT_ORIGIN   100
#define IDD_PLACED      101

#define IDC_FIRST       1000
#define IDC_RANGE_FIRST 1001
#define IDC_RANGE_LAST  1003
#define IDC_SUBCLASSED  1004
#define ID_APP_PROBE    2000
