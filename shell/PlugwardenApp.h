// The main program's application object.
#pragma once

#include "framework/App.h"
#include "shell/InfoPanel.h"
#include "update/WebCheckDlg.h"

class CPlugwardenApp : public CApplication {
public:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    // Brings the running copy's main window forward; true when this is a second copy.
    bool HandOverToRunningCopy();
    void LoadSkinEngine(const std::string& programFolder);

    HMODULE m_skinLibrary = nullptr;
    CNoticeDlg m_notice;
    CWebCheckDlg m_webCheck;
    bool m_socketsReady = false;
};
