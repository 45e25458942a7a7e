// The drive scan panel: every file of every USB drive on demand.
#pragma once

#include "framework/Dialog.h"

class CScanPanel : public CDialog {
public:
    CScanPanel();
};
