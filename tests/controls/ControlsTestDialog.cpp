#include "ControlsTestDialog.h"

#include "ControlsTestRes.h"

#include <algorithm>
#include <cstdio>

CControlsTestDialog::CControlsTestDialog() : CDialog(IDD_CONTROLS_TEST) {}

// clang-format off
BEGIN_MESSAGE_TABLE(CControlsTestDialog, CDialog)
    ON_BN_CLICKED(IDC_TEST_PLAIN, OnPlain)
    ON_CONTROL(STN_CLICKED, IDC_TEST_MAIL, OnMail)
END_MESSAGE_TABLE()
// clang-format on

bool ShowTestDialog(CControlsTestDialog& dialog)
{
    if (!dialog.Create(nullptr))
        return false;
    SetWindowPos(dialog, HWND_TOPMOST, 200, 200, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(dialog);
    SetActiveWindow(dialog);
    PumpMessages(50);
    return true;
}

void PumpMessages(DWORD milliseconds, const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if ((done && done()) || GetTickCount() - start >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

POINT ScreenCentre(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

CCanvas::CCanvas(int width, int height) : m_width(width), m_height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_old = SelectObject(m_dc, m_bitmap);
}

CCanvas::~CCanvas()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

COLORREF CCanvas::Pixel(int x, int y) const
{
    GdiFlush();
    const uint32_t p = m_bits[y * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

RECT CCanvas::Find(const std::function<bool(COLORREF)>& match, int* count) const
{
    RECT box = {m_width, m_height, 0, 0};
    int found = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (!match(Pixel(x, y)))
                continue;
            ++found;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (count != nullptr)
        *count = found;
    return found > 0 ? box : RECT{0, 0, 0, 0};
}

RECT CCanvas::FindColour(COLORREF colour, int* count) const
{
    return Find([colour](COLORREF p) { return p == colour; }, count);
}

void RenderButton(CImageButton& button, CCanvas& canvas, UINT itemState)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = itemState;
    item.hwndItem = button;
    item.hDC = canvas.Dc();
    GetClientRect(button, &item.rcItem);
    button.DrawItem(item);
}

std::string RectText(const RECT& r)
{
    char text[80];
    std::snprintf(text, sizeof text, "{%ld,%ld,%ld,%ld}", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
    return text;
}

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}
