// The process shield panel: running processes whose program file looks planted.
#pragma once

#include "framework/Dialog.h"

class CProcessPanel : public CDialog {
public:
    CProcessPanel();
};
