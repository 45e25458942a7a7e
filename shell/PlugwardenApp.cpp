#include "shell/PlugwardenApp.h"

#include "drives/DriveDiscovery.h"
#include "shell/PlugwardenDlg.h"

#include <commctrl.h>

namespace {
CPlugwardenApp TheApp;
}

bool CPlugwardenApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);

    CPlugwardenDlg mainWindow;
    SetMainWindow(&mainWindow);
    mainWindow.DoModal();
    SetMainWindow(nullptr);
    return false;
}

int CPlugwardenApp::ExitInstance()
{
    return CApplication::ExitInstance();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return GetApp()->Run(instance);
}
