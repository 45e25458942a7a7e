#include "framework/App.h"

#include "framework/Dialog.h"

#include <vector>

namespace {
CApplication* TheApplication = nullptr;
}

CApplication* GetApp()
{
    return TheApplication;
}

CApplication::CApplication()
{
    TheApplication = this;
}

CApplication::~CApplication()
{
    if (TheApplication == this)
        TheApplication = nullptr;
}

HWND CApplication::MainWindowHandle() const
{
    return m_mainWindow != nullptr ? m_mainWindow->GetSafeHwnd() : nullptr;
}

std::string AppNameFromModulePath(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

void CApplication::Attach(HINSTANCE instance)
{
    m_instance = instance;
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            break;
        if (length < path.size()) {
            m_appName = AppNameFromModulePath(std::string(path.data(), length));
            break;
        }
        path.resize(path.size() * 2);
    }
}

int CApplication::Run(HINSTANCE instance)
{
    Attach(instance);
    if (InitInstance()) {
        MSG msg;
        BOOL got;
        while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        m_exitCode = got == 0 ? static_cast<int>(msg.wParam) : 1;
    }
    return ExitInstance();
}
