// Panel 1: the shield's state, version, help and the vendor's links.
#pragma once

#include "controls/ImageButton.h"
#include "controls/LinkLabel.h"
#include "framework/Dialog.h"

#include <string>

class CInfoPanel : public CDialog {
public:
    CInfoPanel();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnHelp();

    std::string m_features;
    CImageButton m_state;
    CImageButton m_help;
    CLinkLabel m_mailLink;
    CLinkLabel m_webLink;
    CImageButton m_picture;

    DECLARE_MESSAGE_TABLE()
};

// The start-up notice: announces the active shield for three seconds.
class CNoticeDlg : public CDialog {
public:
    CNoticeDlg();

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnTimer(WPARAM timerId, LPARAM);

    CImageButton m_state;
    UINT_PTR m_timer = 0;

    DECLARE_MESSAGE_TABLE()
};
