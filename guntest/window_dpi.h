// Sizes Gun Test draws by code, at the scale of the display a window is on:
// with per-monitor awareness Windows scales none of them for it.
#pragma once

#include "framework/platform.h"

// 100 %: the scale every size in the code is written for.
const UINT kDesignDpi = 96;

// The DPI of the display `window` is on, where Windows tells it per window
// (Windows 10 1607 on); else 100 %.
UINT WindowDpi(HWND window);

// A size written for 100 %, rounded to the nearest pixel at `dpi`.
int AtDpi(int size, UINT dpi);
