// The main program's application object.
#pragma once

#include "framework/App.h"

class CPlugwardenApp : public CApplication {
public:
    bool InitInstance() override;
    int ExitInstance() override;
};
