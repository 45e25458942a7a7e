// The updater's only window.
#pragma once

#include "framework/Dialog.h"

class CUpdaterDlg : public CDialog {
public:
    CUpdaterDlg();

protected:
    BOOL OnInitDialog() override;

private:
    HICON m_icon;
};
