// A static text of a dialog template that acts as a link: link colours,
// underlining by mode, red under the pointer, hand cursor, its address as
// tooltip, and the address opened by the shell when clicked.
#pragma once

#include "framework/Subclass.h"

#include <windows.h>

#include <string>

// The command line that opens `address` with the registered ".htm" command
// `registered`: cut at the first "\"%1\"" (or else "%1"), whatever followed
// is dropped, then a blank and the address. Empty when nothing is left to run.
std::string BuildFallbackCommandLine(const std::string& registered, const std::string& address);

// The rectangle (parent coordinates) that fits a label of `style` to a text of
// size `text`; `window` and `client` are its current rectangles.
RECT FitLabelRect(const RECT& window, const RECT& client, SIZE text, DWORD style);

// A copy of cursor `id` of the program or library file `modulePath`, which is
// loaded as data only and released again; null when any step fails.
HCURSOR CopyCursorFromFile(const std::string& modulePath, UINT id);

// The string number explaining the shell's error `code`, 0 when it has none.
UINT OpenErrorStringId(INT_PTR code);
// "Unable to open hyperlink:" and the reason for `code`.
std::string OpenErrorText(INT_PTR code);

class CLinkLabel : public CSubclassedWindow {
public:
    // -1: underlined only while pointed at, 0: never, 1: always.
    enum : int { UnderlineHover = -1, UnderlineNever = 0, UnderlineAlways = 1 };

    static constexpr COLORREF LinkColour = RGB(0, 0, 238);
    static constexpr COLORREF VisitedColour = RGB(85, 26, 139);
    static constexpr COLORREF HoverColour = RGB(255, 0, 0);
    static constexpr UINT_PTR HoverTimerId = 100;
    static constexpr UINT HoverTimerPeriod = 100;

    CLinkLabel() = default;
    ~CLinkLabel() override;

    // What a click opens and the tooltip shows; refits the control.
    void SetLinkAddress(const std::string& address);
    void SetUnderlineMode(int mode);
    // Opens `address` with the shell, else with the registered ".htm" command
    // line; the result code, success when above 32.
    static INT_PTR OpenAddress(const std::string& address, int showCommand);
    // The error box for a failed open.
    static void ShowOpenError(INT_PTR code);
    // Resizes the control to its text.
    void FitToText();

    const std::string& Address() const { return m_address; }
    int UnderlineMode() const { return m_underlineMode; }
    bool IsPointerOver() const { return m_pointerOver; }
    bool IsVisited() const { return m_visited; }
    HCURSOR HandCursor() const { return m_cursor; }
    HWND TooltipWindow() const { return m_tooltip; }

    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSubclassed() override;

private:
    void OnClicked();
    void OnHoverTimer();
    void UseFont(HFONT font, bool redraw);
    void LoadHandCursor();
    void CreateTooltip();

    COLORREF m_linkColour = LinkColour;
    COLORREF m_visitedColour = VisitedColour;
    COLORREF m_hoverColour = HoverColour;
    bool m_pointerOver = false;
    bool m_visited = false;
    int m_underlineMode = UnderlineHover;
    bool m_fitToText = true;
    std::string m_address;
    HFONT m_underlinedFont = nullptr;
    HFONT m_plainFont = nullptr;
    HFONT m_templateFont = nullptr; // given back before the copies are deleted
    HCURSOR m_cursor = nullptr;
    HWND m_tooltip = nullptr;
    UINT_PTR m_timerId = HoverTimerId;
};
