// Reads the text a tooltip control holds for one tool.
#pragma once

#include <windows.h>

#include <string>

// The text of tool `id` of `owner` in `tooltip`. Asks with the wide message:
// the ANSI one returns at most 80 bytes.
std::string TooltipText(HWND tooltip, HWND owner, UINT_PTR id = 1);
