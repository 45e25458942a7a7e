// The main window: eight tab buttons over eight child panels.
#pragma once

#include "framework/Dialog.h"

class CPlugwardenDlg : public CDialog {
public:
    CPlugwardenDlg();

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);

    HICON m_icon;

    DECLARE_MESSAGE_TABLE()
};
