#include "support/Tooltip.h"

#include <commctrl.h>

std::string TooltipText(HWND tooltip, HWND owner, UINT_PTR id)
{
    wchar_t text[1024] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = id;
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(&tool));
    char ansi[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}
