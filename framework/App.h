// The application object: one per program, constructed before WinMain runs.
#pragma once

#include <windows.h>

#include <string>

class CDialog;

class CApplication {
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // Start-up. Returning false ends the program after ExitInstance; returning
    // true runs the message loop until WM_QUIT.
    virtual bool InitInstance() { return false; }
    // Exit; the result is the process exit code.
    virtual int ExitInstance() { return m_exitCode; }

    HINSTANCE Instance() const { return m_instance; }
    // The executable's file name without its extension ("Plugwarden").
    const std::string& AppName() const { return m_appName; }

    void SetMainWindow(CDialog* window) { m_mainWindow = window; }
    CDialog* MainWindow() const { return m_mainWindow; }
    HWND MainWindowHandle() const;

    // Called by WinMain: Attach, then InitInstance, the loop, ExitInstance.
    int Run(HINSTANCE instance);
    // Takes the program's instance and derives the application name from its file.
    void Attach(HINSTANCE instance);

private:
    HINSTANCE m_instance = nullptr;
    std::string m_appName;
    CDialog* m_mainWindow = nullptr;
    int m_exitCode = 0;
};

// The application object, null before it is constructed.
CApplication* GetApp();

// The application name derived from a module path: file name without extension.
std::string AppNameFromModulePath(const std::string& path);
