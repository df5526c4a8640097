// The one door to the platform: real Windows headers in the Windows build,
// the test stand-in (tests/standin) in the host build.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <setupapi.h>
#include <dbt.h>
#else
#include "win32_standin.h"
#endif
