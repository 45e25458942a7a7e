#include "controls/LinkLabel.h"

#include "controls/ControlsRes.h"
#include "controls/ShellOpen.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "framework/Window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace {

const UINT_PTR TipToolId = 1;

// The default value of `root\path` as text; false when the key cannot be
// opened or its default value is not readable text.
bool ReadDefaultValue(HKEY root, const std::string& path, std::string& value)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    bool read = false;
    std::vector<char> buffer;
    // Sized by the value itself, so a long command line is never cut.
    for (int attempt = 0; attempt < 3 && !read; ++attempt) {
        if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        buffer.assign(size + 1, '\0');
        DWORD got = size;
        const LONG status = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (status == ERROR_MORE_DATA)
            continue;
        read = status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ);
    }
    RegCloseKey(key);
    if (!read)
        return false;
    std::string text(buffer.data());
    if (type == REG_EXPAND_SZ) {
        const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
        std::vector<char> expanded(needed + 1, '\0');
        if (needed == 0 || ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed + 1) == 0)
            return false;
        text = expanded.data();
    }
    value = text;
    return true;
}

} // namespace

std::string BuildFallbackCommandLine(const std::string& registered, const std::string& address)
{
    size_t cut = registered.find("\"%1\"");
    if (cut == std::string::npos)
        cut = registered.find("%1");
    const std::string command = registered.substr(0, cut);
    if (command.find_first_not_of(" \t") == std::string::npos)
        return std::string();
    return command + " " + address;
}

RECT FitLabelRect(const RECT& window, const RECT& client, SIZE text, DWORD style)
{
    RECT fitted = window;
    const LONG windowWidth = window.right - window.left;
    const LONG windowHeight = window.bottom - window.top;
    const LONG neededWidth = text.cx + (windowWidth - (client.right - client.left));
    const LONG neededHeight = text.cy + (windowHeight - (client.bottom - client.top));
    if ((style & SS_CENTERIMAGE) != 0) {
        const LONG shrink = (windowHeight - neededHeight) / 2;
        fitted.top += shrink;
        fitted.bottom -= shrink;
    } else {
        fitted.bottom = fitted.top + neededHeight;
    }
    if ((style & SS_CENTER) != 0) {
        const LONG shrink = (windowWidth - neededWidth) / 2;
        fitted.left += shrink;
        fitted.right -= shrink;
    } else if ((style & SS_RIGHT) != 0) {
        fitted.left = fitted.right - neededWidth;
    } else {
        fitted.right = fitted.left + neededWidth;
    }
    return fitted;
}

UINT OpenErrorStringId(INT_PTR code)
{
    static const struct {
        INT_PTR code;
        UINT id;
    } reasons[] = {
        {0, IDS_LINK_ERROR_OUT_OF_RESOURCES},
        {ERROR_FILE_NOT_FOUND, IDS_LINK_ERROR_FILE_NOT_FOUND},
        {ERROR_PATH_NOT_FOUND, IDS_LINK_ERROR_PATH_NOT_FOUND},
        {SE_ERR_ACCESSDENIED, IDS_LINK_ERROR_ACCESS_DENIED},
        {SE_ERR_OOM, IDS_LINK_ERROR_OUT_OF_MEMORY},
        {ERROR_BAD_FORMAT, IDS_LINK_ERROR_BAD_FORMAT},
        {SE_ERR_SHARE, IDS_LINK_ERROR_SHARE},
        {SE_ERR_ASSOCINCOMPLETE, IDS_LINK_ERROR_ASSOC_INCOMPLETE},
        {SE_ERR_DDETIMEOUT, IDS_LINK_ERROR_DDE_TIMEOUT},
        {SE_ERR_DDEFAIL, IDS_LINK_ERROR_DDE_FAIL},
        {SE_ERR_DDEBUSY, IDS_LINK_ERROR_DDE_BUSY},
        {SE_ERR_NOASSOC, IDS_LINK_ERROR_NO_ASSOC},
        {SE_ERR_DLLNOTFOUND, IDS_LINK_ERROR_DLL_NOT_FOUND},
    };
    for (const auto& reason : reasons) {
        if (reason.code == code)
            return reason.id;
    }
    return 0;
}

std::string OpenErrorText(INT_PTR code)
{
    const UINT id = OpenErrorStringId(code);
    const std::string reason =
        id != 0 ? LoadResString(id) : FormatResString(IDS_LINK_ERROR_UNKNOWN, static_cast<int>(code));
    return LoadResString(IDS_LINK_UNABLE_TO_OPEN) + reason;
}

CLinkLabel::~CLinkLabel()
{
    HWND hwnd = GetSafeHwnd();
    if (hwnd != nullptr && IsWindow(hwnd)) {
        KillTimer(hwnd, m_timerId);
        // The control must not be left holding a font about to be deleted.
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_templateFont), FALSE);
    }
    if (m_tooltip != nullptr && IsWindow(m_tooltip))
        DestroyWindow(m_tooltip);
    if (m_underlinedFont != nullptr)
        DeleteObject(m_underlinedFont);
    if (m_plainFont != nullptr)
        DeleteObject(m_plainFont);
    if (m_cursor != nullptr)
        DestroyCursor(m_cursor);
}

void CLinkLabel::OnSubclassed()
{
    HWND hwnd = GetSafeHwnd();
    SetWindowLongA(hwnd, GWL_STYLE, GetWindowLongA(hwnd, GWL_STYLE) | SS_NOTIFY);

    if (m_address.empty())
        m_address = GetWindowTextString(hwnd);
    if (GetWindowTextString(hwnd).empty())
        SetWindowTextA(hwnd, m_address.c_str());

    m_templateFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ font = m_templateFont;
    if (font == nullptr)
        font = GetStockObject(DEFAULT_GUI_FONT);
    if (font == nullptr)
        font = GetStockObject(ANSI_VAR_FONT);
    LOGFONTA description = {};
    if (font != nullptr && GetObjectA(font, sizeof description, &description) != 0) {
        description.lfUnderline = FALSE;
        m_plainFont = CreateFontIndirectA(&description);
        description.lfUnderline = TRUE;
        m_underlinedFont = CreateFontIndirectA(&description);
    }

    FitToText();
    if (m_cursor == nullptr)
        LoadHandCursor();
    // A mode chosen before the control existed takes effect now; the hover
    // mode keeps the template's font until the first hover.
    if (m_underlineMode == UnderlineAlways)
        UseFont(m_underlinedFont, true);
    CreateTooltip();
}

HCURSOR CopyCursorFromFile(const std::string& modulePath, UINT id)
{
    HMODULE library = LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (library == nullptr)
        return nullptr;
    HCURSOR cursor = LoadCursorA(library, MAKEINTRESOURCEA(id));
    HCURSOR copy = cursor != nullptr ? CopyCursor(cursor) : nullptr;
    FreeLibrary(library);
    return copy;
}

void CLinkLabel::LoadHandCursor()
{
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return;
    m_cursor = CopyCursorFromFile(std::string(folder) + "\\winhlp32.exe", 106);
}

void CLinkLabel::CreateTooltip()
{
    HWND hwnd = GetSafeHwnd();
    if (m_tooltip != nullptr || hwnd == nullptr)
        return;
    m_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE)), nullptr);
    if (m_tooltip == nullptr)
        return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS; // the tooltip sees the label's mouse messages itself
    tool.hwnd = hwnd;
    tool.uId = TipToolId;
    GetClientRect(hwnd, &tool.rect);
    tool.lpszText = const_cast<char*>(m_address.c_str());
    SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CLinkLabel::SetLinkAddress(const std::string& address)
{
    m_address = address;
    HWND hwnd = GetSafeHwnd();
    if (hwnd == nullptr)
        return;
    FitToText();
    if (m_tooltip != nullptr) {
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = hwnd;
        tool.uId = TipToolId;
        tool.lpszText = const_cast<char*>(m_address.c_str());
        SendMessageA(m_tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CLinkLabel::SetUnderlineMode(int mode)
{
    if (mode != m_underlineMode && GetSafeHwnd() != nullptr) {
        UseFont(mode == UnderlineAlways ? m_underlinedFont : m_plainFont, true);
        InvalidateRect(*this, nullptr, TRUE);
    }
    m_underlineMode = mode;
}

void CLinkLabel::UseFont(HFONT font, bool redraw)
{
    if (font != nullptr)
        SendMessageA(*this, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

void CLinkLabel::FitToText()
{
    HWND hwnd = GetSafeHwnd();
    if (hwnd == nullptr || !m_fitToText)
        return;
    HWND parent = GetParent(hwnd);
    RECT window;
    RECT client;
    GetWindowRect(hwnd, &window);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    GetClientRect(hwnd, &client);

    const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    const std::string text = GetWindowTextString(hwnd);
    HDC dc = GetDC(hwnd);
    if (dc == nullptr)
        return;
    HFONT font = m_underlinedFont != nullptr ? m_underlinedFont
                                             : reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    RECT measured = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &measured, DT_CALCRECT | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0));
    if (oldFont != nullptr)
        SelectObject(dc, oldFont);
    ReleaseDC(hwnd, dc);

    const RECT fitted = FitLabelRect(window, client, SIZE{measured.right - measured.left, measured.bottom - measured.top}, style);
    SetWindowPos(hwnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CLinkLabel::OpenAddress(const std::string& address, int showCommand)
{
    const INT_PTR shellResult = ShellOpen(address, showCommand);
    if (shellResult > 32)
        return shellResult;
    std::string pageClass;
    if (!ReadDefaultValue(HKEY_CLASSES_ROOT, ".htm", pageClass) || pageClass.empty())
        return shellResult;
    std::string registered;
    if (!ReadDefaultValue(HKEY_CLASSES_ROOT, pageClass + "\\shell\\open\\command", registered))
        return shellResult;
    const std::string commandLine = BuildFallbackCommandLine(registered, address);
    if (commandLine.empty())
        return shellResult;
    return static_cast<INT_PTR>(RunCommandLine(commandLine, showCommand));
}

void CLinkLabel::ShowOpenError(INT_PTR code)
{
    AppMessageBox(OpenErrorText(code), MB_OK | MB_ICONEXCLAMATION);
}

void CLinkLabel::OnClicked()
{
    m_pointerOver = false;
    const INT_PTR result = OpenAddress(m_address, SW_SHOW);
    m_visited = result > 32;
    if (m_visited) {
        InvalidateRect(*this, nullptr, TRUE);
    } else {
        MessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(result);
    }
}

void CLinkLabel::OnHoverTimer()
{
    HWND hwnd = GetSafeHwnd();
    const DWORD position = GetMessagePos();
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(hwnd, &point);
    RECT client;
    GetClientRect(hwnd, &client);
    if (PtInRect(&client, point))
        return;
    m_pointerOver = false;
    KillTimer(hwnd, m_timerId);
    if (m_underlineMode != UnderlineAlways)
        UseFont(m_plainFont, false);
    // A little below the text too, where the underline was.
    client.bottom += 10;
    InvalidateRect(hwnd, &client, TRUE);
}

LRESULT CLinkLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(*this, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_SETCURSOR:
        if (m_cursor == nullptr)
            return FALSE;
        SetCursor(m_cursor);
        return TRUE;
    case WM_MOUSEMOVE:
        if (!m_pointerOver) {
            m_pointerOver = true;
            if (m_underlineMode == UnderlineHover)
                UseFont(m_underlinedFont, false);
            InvalidateRect(*this, nullptr, TRUE);
            SetTimer(*this, m_timerId, HoverTimerPeriod, nullptr);
        }
        break;
    case WM_TIMER:
        if (wParam == m_timerId)
            OnHoverTimer();
        break;
    case WM_DESTROY:
        KillTimer(*this, m_timerId);
        break;
    default:
        break;
    }
    return CallOriginalProc(message, wParam, lParam);
}

bool CLinkLabel::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, m_pointerOver ? m_hoverColour : (m_visited ? m_visitedColour : m_linkColour));
        SetBkMode(dc, TRANSPARENT);
        *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != STN_CLICKED)
            return false;
        OnClicked();
        return true;
    default:
        return false;
    }
}
