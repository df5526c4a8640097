// The application framework in MFC's shape, as far as the program uses it.
#pragma once

#include "framework/platform.h"
#include "framework/message_map.h"
#include "framework/cmd_target.h"
#include "framework/geometry.h"
#include "framework/wnd.h"
#include "framework/dialog.h"
#include "framework/paint_dc.h"
#include "framework/win_app.h"
