#include "framework/Window.h"

#include <vector>

std::string GetWindowTextString(HWND hwnd)
{
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextA(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}
