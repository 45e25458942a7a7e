// The autostart manager panel: programs started from the registry's autostart keys.
#pragma once

#include "framework/Dialog.h"

class CAutostartPanel : public CDialog {
public:
    CAutostartPanel();
};
