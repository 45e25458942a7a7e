// The system repair panel: registry repair and disk cleanup.
#pragma once

#include "framework/Dialog.h"

class CRepairPanel : public CDialog {
public:
    CRepairPanel();
};
