#include "shell/Settings.h"

#include "framework/MessageBox.h"
#include "panels/usb/Immunity.h"
#include "shell/ShellRes.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {
const char SettingsKey[] = "SOFTWARE\\tarnwick";
const char LastCheckValue[] = "lastcheck";
const char AutorunValue[] = "autorun";
constexpr int DaysBetweenChecks = 7;
} // namespace

HKEY OpenSettingsKey()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool ReadSetting(HKEY key, const char* name, std::string* value)
{
    char buffer[SettingBufferLength] = {};
    DWORD length = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &length) != ERROR_SUCCESS)
        return false;
    // A value stored without its terminator is cut at the buffer, never read past it.
    *value = std::string(buffer, strnlen(buffer, length < sizeof buffer ? length : sizeof buffer));
    return true;
}

bool WriteSetting(HKEY key, const char* name, const std::string& value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

int LeadingNumber(const std::string& text)
{
    // strtol saturates instead of overflowing on long digit runs.
    const long number = std::strtol(text.c_str(), nullptr, 10);
    return number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : static_cast<int>(number);
}

bool UpdateCheckDueOn(int today, const std::string* lastCheck)
{
    if (lastCheck == nullptr)
        return true;
    const long long stored = LeadingNumber(*lastCheck);
    if (stored == 0)
        return true;
    const long long difference = today > stored ? today - stored : stored - today;
    return difference > DaysBetweenChecks;
}

bool IsUpdateCheckDue(HKEY key)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string lastCheck;
    const bool read = ReadSetting(key, LastCheckValue, &lastCheck);
    if (!UpdateCheckDueOn(now.wDay, read ? &lastCheck : nullptr))
        return false;
    char today[8];
    std::snprintf(today, sizeof today, "%d", now.wDay);
    WriteSetting(key, LastCheckValue, today);
    return true;
}

void AskDisableAutorunOnce(HKEY key)
{
    std::string asked;
    if (ReadSetting(key, AutorunValue, &asked))
        return;
    if (AppMessageBox(IDS_ASK_DISABLE_AUTORUN, MB_OKCANCEL) == IDOK)
        DisableUsbAutorun();
    WriteSetting(key, AutorunValue, "1");
}

void PlaceAboveTaskbar(HWND window)
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar == nullptr)
        return;
    RECT bar, desktop, own;
    GetWindowRect(taskbar, &bar);
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    ShowWindow(window, SW_SHOW);
    SetWindowPos(window, nullptr, desktop.right - width, bar.top - height, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}
