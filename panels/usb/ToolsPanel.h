// The tools panel: immunity against autorun files and safe removal.
#pragma once

#include "controls/ImageButton.h"
#include "framework/Dialog.h"

#include <string>

class CToolsPanel : public CDialog {
public:
    CToolsPanel();

    // "Acquire Immunity" (button 1030, also the tray menu's command).
    void OnAcquireImmunity();
    // Ends the programs running from USB drives and ejects the drives.
    void SafelyRemove();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnCancelImmunity();
    void OnSafelyRemove();

    CImageButton m_acquireImmunity;
    CImageButton m_cancelImmunity;
    CImageButton m_safelyRemove;
    std::string m_removeHelp;
    std::string m_immunityHelp;

    DECLARE_MESSAGE_TABLE()
};
