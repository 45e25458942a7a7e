// The hidden dialog that announces a new version. The update check fills and
// shows it.
#pragma once

#include "framework/Dialog.h"

class CWebCheckDlg : public CDialog {
public:
    CWebCheckDlg();
};
