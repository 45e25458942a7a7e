// Winsock must come before windows.h.
#include <winsock2.h>

#include "shell/PlugwardenApp.h"

#include "framework/MessageBox.h"
#include "quarantine/QuarantineStore.h"
#include "shell/PlugwardenDlg.h"
#include "shell/Settings.h"
#include "shell/ShellRes.h"

#include <commctrl.h>

namespace {

CPlugwardenApp TheApp;

const char SkinLibraryName[] = "SkinLoad.dll";
const char SkinFileName[] = "xp_normal.skin";

using InitSkinLoadProc = void(__cdecl*)(unsigned threadId);
using LoadSkinProc = void(__cdecl*)(const char* path);
using ExitSkinProc = void(__cdecl*)();

} // namespace

bool CPlugwardenApp::HandOverToRunningCopy()
{
    HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, AppName().c_str());
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return false; // the handle stays open as long as this copy runs
    if (semaphore != nullptr)
        CloseHandle(semaphore);
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropA(window, AppName().c_str()) != nullptr) {
            ShowWindow(window, SW_RESTORE);
            SetForegroundWindow(window);
            SetForegroundWindow(GetLastActivePopup(window));
            break;
        }
    }
    return true;
}

void CPlugwardenApp::LoadSkinEngine(const std::string& programFolder)
{
    m_skinLibrary = LoadLibraryA((programFolder + SkinLibraryName).c_str());
    if (m_skinLibrary == nullptr)
        return;
    auto init = reinterpret_cast<InitSkinLoadProc>(GetProcAddress(m_skinLibrary, "InitSkinLoad"));
    auto load = reinterpret_cast<LoadSkinProc>(GetProcAddress(m_skinLibrary, "LoadSkin"));
    if (init == nullptr || load == nullptr)
        return;
    init(GetCurrentThreadId());
    load((programFolder + SkinFileName).c_str());
}

bool CPlugwardenApp::InitInstance()
{
    if (HandOverToRunningCopy())
        return false;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);

    HKEY settings = OpenSettingsKey();
    if (settings != nullptr) {
        char programFolder[MAX_PATH] = {};
        if (Instance() == nullptr || !GetProgramFolder(programFolder)) {
            AppMessageBox(IDS_ERROR);
            RegCloseKey(settings);
            return false;
        }
        LoadSkinEngine(programFolder);
        AskDisableAutorunOnce(settings);
        m_notice.Create();
        PlaceAboveTaskbar(m_notice);
        m_webCheck.Create();
        const bool checkDue = IsUpdateCheckDue(settings);
        WSADATA winsock;
        m_socketsReady = WSAStartup(MAKEWORD(2, 2), &winsock) == 0;
        // The check itself is started here once the update check exists.
        (void)checkDue;
        RegCloseKey(settings);
    }

    CPlugwardenDlg mainWindow;
    SetMainWindow(&mainWindow);
    mainWindow.DoModal();
    SetMainWindow(nullptr);
    return false;
}

int CPlugwardenApp::ExitInstance()
{
    if (m_skinLibrary != nullptr) {
        auto exitSkin = reinterpret_cast<ExitSkinProc>(GetProcAddress(m_skinLibrary, "ExitSkin"));
        if (exitSkin != nullptr)
            exitSkin();
        FreeLibrary(m_skinLibrary);
        m_skinLibrary = nullptr;
    }
    if (m_socketsReady)
        WSACleanup();
    return CApplication::ExitInstance();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return GetApp()->Run(instance);
}
