#pragma once

#include "platform/Application.h"

class CSetupApp : public CWinApp {
  public:
    // Runs the setup dialog, then returns false so that the process ends.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP(CSetupApp, CWinApp)
};
