// Gun Test's application object: runs the window and ends when it closes.
#pragma once

#include "framework/framework.h"

class CGunTestApp : public CWinApp {
public:
    CGunTestApp();

    BOOL InitInstance() override;
};
