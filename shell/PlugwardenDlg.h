// The main window: eight tab buttons over eight child panels, the
// notification-area icon and its menu, and the device notifications.
#pragma once

#include "controls/ImageButton.h"
#include "framework/Dialog.h"
#include "panels/system/AutostartPanel.h"
#include "panels/system/ProcessPanel.h"
#include "panels/system/RepairPanel.h"
#include "panels/usb/ScanPanel.h"
#include "panels/usb/ShieldPanel.h"
#include "panels/usb/ToolsPanel.h"
#include "quarantine/QuarantinePanel.h"
#include "shell/InfoPanel.h"

#include <windows.h>

#include <shellapi.h>

class CPlugwardenDlg;

// Written by the UI thread while the main window initialises, before any
// thread that reads them exists.
extern HWND TheMainWindowHandle;
extern CPlugwardenDlg* TheMainWindow;
// The notification-area icon record; only the UI thread touches it.
extern NOTIFYICONDATAA TrayIconData;

// Message of the notification-area icon (the first user message plus 1).
constexpr UINT WM_TRAY_ICON = WM_USER + 1;

enum PanelNumber {
    PanelInformation = 1,
    PanelShield,
    PanelScan,
    PanelTools,
    PanelProcess,
    PanelAutostart,
    PanelRepair,
    PanelQuarantine,
    PanelCount = PanelQuarantine
};

class CPlugwardenDlg : public CDialog {
public:
    CPlugwardenDlg();

    // Makes panel 1..8 the visible one; other numbers only hide the current one.
    void ShowPanel(int panel);
    // Looks for USB drives; when there are any, comes forward on the shield
    // and inspects them.
    void ReactToUsbDrives();

    CShieldPanel& ShieldPanel() { return m_shieldPanel; }
    CToolsPanel& ToolsPanel() { return m_toolsPanel; }
    // The number of the visible panel, 0 when none is.
    int VisiblePanel() const;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnDestroy() override;
    bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // Posted by the watcher threads; the UI thread does the work.
    enum : UINT {
        WM_TASKBAR_BACK = WM_APP + 1,
        WM_UNINSTALLER_FOUND,
    };

    struct Tab {
        UINT control;
        UINT highlighted;
        UINT plain;
        UINT tooltip;
    };
    static const Tab Tabs[PanelCount + 1];

    void OnTabInformation();
    void OnTabShield();
    void OnTabScan();
    void OnTabTools();
    void OnTabProcess();
    void OnTabAutostart();
    void OnTabRepair();
    void OnTabQuarantine();
    void OnShowMainWindow();
    void OnSafelyRemove();
    void OnAcquireImmunity();
    void OnUpdateNow();
    void OnQuit();
    LRESULT OnHelp(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnTaskbarBack(WPARAM, LPARAM);
    LRESULT OnUninstallerFound(WPARAM, LPARAM);

    void OnTrayIcon(LPARAM mouseMessage);
    void ShowTrayMenu();
    void AddTrayIcon();
    void RestoreAndRaise();
    void PaintMinimised();
    CDialog& Panel(int panel);

    static DWORD WINAPI TrayWatchThreadProc(void* param);
    static UINT UninstallWatchThreadProc(void* param);

    HICON m_icon;
    CImageButton m_tabButtons[PanelCount + 1];
    CInfoPanel m_infoPanel;
    CProcessPanel m_processPanel;
    CQuarantinePanel m_quarantinePanel;
    CScanPanel m_scanPanel;
    CShieldPanel m_shieldPanel;
    CRepairPanel m_repairPanel;
    CToolsPanel m_toolsPanel;
    CAutostartPanel m_autostartPanel;
    bool m_visible[PanelCount + 1] = {};

    DECLARE_MESSAGE_TABLE()
};

// Opens "Plugwarden.chm" from the program folder, or says "Document not found".
void OpenHelpFile();
