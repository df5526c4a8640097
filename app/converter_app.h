// The application object: runs the control panel and ends when it closes.
#pragma once

#include "framework/framework.h"

class CConverterApp : public CWinApp {
public:
    CConverterApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
