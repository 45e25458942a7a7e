// Thin helpers around a window handle. They hold no state of their own.
#pragma once

#include <windows.h>

#include <string>

// Text of a window or control, whatever its length.
std::string GetWindowTextString(HWND hwnd);

inline std::string GetDlgItemTextString(HWND dialog, int id)
{
    return GetWindowTextString(GetDlgItem(dialog, id));
}

inline bool SetDlgItemTextString(HWND dialog, int id, const std::string& text)
{
    return SetDlgItemTextA(dialog, id, text.c_str()) != FALSE;
}
