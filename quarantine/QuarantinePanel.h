// The quarantine panel: lists, restores and empties the quarantined files.
#pragma once

#include "framework/Dialog.h"

class CQuarantinePanel : public CDialog {
public:
    CQuarantinePanel();
};
