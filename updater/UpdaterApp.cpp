// The updater's application object.
#include "framework/App.h"
#include "updater/UpdaterDlg.h"

#include <commctrl.h>

namespace {

class CUpdaterApp : public CApplication {
public:
    bool InitInstance() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        CUpdaterDlg dialog;
        SetMainWindow(&dialog);
        dialog.DoModal();
        SetMainWindow(nullptr);
        return false;
    }
};

CUpdaterApp TheApp;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return GetApp()->Run(instance);
}
