#include "controls/ImageButton.h"

#include "controls/ShellOpen.h"
#include "framework/App.h"
#include "framework/Window.h"

#include <commctrl.h>

#include <cstring>

namespace {

const COLORREF White = RGB(255, 255, 255);
const COLORREF Black = RGB(0, 0, 0);
const LONG ButtonTypeBits = 0x1F;
const UINT_PTR TipToolId = 1;
const int TipMaxWidth = 400;

HINSTANCE ResourceModule()
{
    CApplication* app = GetApp();
    return app != nullptr && app->Instance() != nullptr ? app->Instance() : GetModuleHandleA(nullptr);
}

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

} // namespace

ImageButtonLayout ComputeImageButtonLayout(const RECT& button, SIZE image, BYTE placement, bool hasCaption,
                                           bool pressed, bool checkBoxMode)
{
    ImageButtonLayout layout{button, button};
    const LONG w = image.cx;
    const LONG h = image.cy;
    const LONG centredLeft = button.left + (Width(button) - w) / 2;
    const LONG centredTop = button.top + (Height(button) - h) / 2;
    LONG left = centredLeft;
    LONG top = centredTop;
    if (!hasCaption) {
        if (placement == ImageRight)
            top = button.top;
    } else if (placement == ImageLeft) {
        left = button.left + 3;
        layout.caption.left += w + 3;
    } else if (placement == ImageRight) {
        left = button.left + Width(button) - w - 3;
        layout.caption.left = button.left + 3;
        layout.caption.right = left;
    } else {
        top = button.top + 3;
        layout.caption.top += h;
    }
    layout.image = RECT{left, top, left + w, top + h};
    if (pressed && !checkBoxMode) {
        OffsetRect(&layout.image, 1, 1);
        OffsetRect(&layout.caption, 1, 1);
    }
    return layout;
}

RECT CentreCaptionBlock(const RECT& caption, const RECT& block)
{
    RECT centred = block;
    OffsetRect(&centred, (Width(caption) - Width(block)) / 2, (Height(caption) - Height(block)) / 2);
    return centred;
}

CImageButton::CImageButton()
{
    // Always button face and button text; the three states keep their own
    // pair so that the drawing rules stay readable.
    m_activeBackground = m_restingBackground = m_focusedBackground = GetSysColor(COLOR_BTNFACE);
    m_activeText = m_restingText = m_focusedText = GetSysColor(COLOR_BTNTEXT);
}

CImageButton::~CImageButton()
{
    ReleaseImages();
    if (m_cursor != nullptr)
        DestroyCursor(m_cursor);
    if (m_tooltip != nullptr && IsWindow(m_tooltip))
        DestroyWindow(m_tooltip);
}

void CImageButton::OnSubclassed()
{
    LONG style = GetWindowLongA(*this, GWL_STYLE);
    if ((style & 0x2) != 0)
        m_checkBoxMode = true;
    if ((style & ButtonTypeBits) == BS_DEFPUSHBUTTON)
        m_defaultButton = true;
    style = (style & ~ButtonTypeBits) | BS_OWNERDRAW;
    SetWindowLongA(*this, GWL_STYLE, style);
    SetWindowPos(*this, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Images -------------------------------------------------------------------

bool CImageButton::LoadBitmapWithMask(UINT id, COLORREF transparent, Bitmap& bitmap)
{
    HBITMAP loaded =
        static_cast<HBITMAP>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (loaded == nullptr)
        return false;
    BITMAP info = {};
    GetObjectA(loaded, sizeof info, &info);
    HBITMAP mask = CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    HDC image = CreateCompatibleDC(nullptr);
    HDC monochrome = CreateCompatibleDC(nullptr);
    if (mask == nullptr || image == nullptr || monochrome == nullptr) {
        if (mask != nullptr)
            DeleteObject(mask);
        if (image != nullptr)
            DeleteDC(image);
        if (monochrome != nullptr)
            DeleteDC(monochrome);
        DeleteObject(loaded);
        return false;
    }
    HGDIOBJ oldImage = SelectObject(image, loaded);
    HGDIOBJ oldMask = SelectObject(monochrome, mask);
    // Colour to monochrome: pixels of the source's background colour become 1.
    SetBkColor(image, transparent);
    BitBlt(monochrome, 0, 0, info.bmWidth, info.bmHeight, image, 0, 0, SRCCOPY);
    // Monochrome to colour: 1 becomes the background (black), 0 the text
    // colour (white), so AND blackens exactly the transparent pixels.
    SetBkColor(image, Black);
    SetTextColor(image, White);
    BitBlt(image, 0, 0, info.bmWidth, info.bmHeight, monochrome, 0, 0, SRCAND);
    SelectObject(image, oldImage);
    SelectObject(monochrome, oldMask);
    DeleteDC(image);
    DeleteDC(monochrome);

    bitmap.handle = loaded;
    bitmap.mask = mask;
    bitmap.width = info.bmWidth;
    bitmap.height = info.bmHeight;
    bitmap.transparent = transparent;
    return true;
}

bool CImageButton::LoadIconResource(UINT id, Icon& icon)
{
    HICON loaded = static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (loaded == nullptr)
        return false;
    ICONINFO info = {};
    if (!GetIconInfo(loaded, &info)) {
        DestroyIcon(loaded);
        return false;
    }
    BITMAP bits = {};
    GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bits, &bits);
    icon.handle = loaded;
    icon.width = bits.bmWidth;
    // A monochrome icon keeps its AND and XOR halves in one mask bitmap.
    icon.height = info.hbmColor != nullptr ? bits.bmHeight : bits.bmHeight / 2;
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        DeleteObject(info.hbmMask);
    return true;
}

void CImageButton::ReleaseBitmap(Bitmap& bitmap)
{
    if (bitmap.handle != nullptr)
        DeleteObject(bitmap.handle);
    if (bitmap.mask != nullptr)
        DeleteObject(bitmap.mask);
    bitmap = Bitmap();
}

void CImageButton::ReleaseIcon(Icon& icon)
{
    if (icon.handle != nullptr)
        DestroyIcon(icon.handle);
    icon = Icon();
}

void CImageButton::ReleaseImages()
{
    ReleaseBitmap(m_primaryBitmap);
    ReleaseBitmap(m_restingBitmap);
    ReleaseIcon(m_primaryIcon);
    ReleaseIcon(m_restingIcon);
}

void CImageButton::AssignBitmaps(UINT primaryId, COLORREF primaryTransparent, UINT restingId,
                                 COLORREF restingTransparent)
{
    ReleaseImages();
    // Without its primary bitmap a resting one alone would never change, so
    // the pair stands or falls together.
    if (LoadBitmapWithMask(primaryId, primaryTransparent, m_primaryBitmap) && restingId != 0)
        LoadBitmapWithMask(restingId, restingTransparent, m_restingBitmap);
    Repaint();
}

void CImageButton::AssignIcons(UINT primaryId, UINT restingId)
{
    ReleaseImages();
    if (LoadIconResource(primaryId, m_primaryIcon) && restingId != 0)
        LoadIconResource(restingId, m_restingIcon);
    Repaint();
}

// Setters -------------------------------------------------------------------

void CImageButton::SetImagePlacement(BYTE placement, bool repaint)
{
    if (placement > ImageRight)
        return;
    m_placement = placement;
    if (repaint)
        Repaint();
}

void CImageButton::SetBorderVisible(bool visible, bool repaint)
{
    m_border = visible;
    if (repaint)
        Repaint();
}

void CImageButton::SetHoverCursor(UINT cursorId, bool repaint)
{
    if (m_cursor != nullptr) {
        DestroyCursor(m_cursor);
        m_cursor = nullptr;
    }
    if (cursorId != 0)
        m_cursor = static_cast<HCURSOR>(
            LoadImageA(ResourceModule(), MAKEINTRESOURCEA(cursorId), IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR));
    if (repaint)
        Repaint();
}

void CImageButton::CreateTooltip()
{
    if (m_tooltip != nullptr || GetSafeHwnd() == nullptr)
        return;
    m_tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, *this, nullptr, ResourceModule(), nullptr);
    if (m_tooltip == nullptr)
        return;
    SendMessageA(m_tooltip, TTM_ACTIVATE, FALSE, 0);
    SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, TipMaxWidth);
}

void CImageButton::SetTipText(const char* text, bool activate)
{
    if (text == nullptr)
        return;
    CreateTooltip();
    if (m_tooltip == nullptr)
        return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    // The tooltip watches the button's mouse messages itself, so nothing has
    // to relay them.
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = *this;
    tool.uId = TipToolId;
    tool.lpszText = const_cast<char*>(text);
    if (!m_hasTool) {
        GetClientRect(*this, &tool.rect);
        m_hasTool = SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    } else {
        SendMessageA(m_tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageA(m_tooltip, TTM_ACTIVATE, activate ? TRUE : FALSE, 0);
}

void CImageButton::SetLinkTarget(const char* target)
{
    m_linkTarget[0] = '\0';
    if (target == nullptr)
        return;
    const size_t length = std::strlen(target);
    // A cut address would open some other page.
    if (length >= LinkTargetCapacity)
        return;
    std::memcpy(m_linkTarget, target, length + 1);
}

void CImageButton::Repaint()
{
    if (GetSafeHwnd() != nullptr)
        InvalidateRect(*this, nullptr, TRUE);
}

// Messages ------------------------------------------------------------------

LRESULT CImageButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        const LRESULT result = CallOriginalProc(message, wParam, lParam);
        TrackHover(wParam, lParam);
        return result;
    }
    case WM_MOUSELEAVE:
        EndHover();
        return 0;
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        const LRESULT result = CallOriginalProc(message, wParam, lParam);
        EndHover();
        return result;
    }
    case WM_ACTIVATE: {
        const LRESULT result = CallOriginalProc(message, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE)
            EndHover();
        return result;
    }
    case WM_ENABLE: {
        const LRESULT result = CallOriginalProc(message, wParam, lParam);
        if (wParam == FALSE) {
            // A disabled control must not keep (or later receive) the focus.
            HWND parent = GetParent(*this);
            HWND next = parent != nullptr ? GetNextDlgTabItem(parent, *this, FALSE) : nullptr;
            SetFocus(next != nullptr && next != GetSafeHwnd() ? next : parent);
        }
        EndHover();
        return result;
    }
    case WM_SETCURSOR:
        if (m_cursor != nullptr) {
            SetCursor(m_cursor);
            return TRUE;
        }
        break;
    case WM_GETDLGCODE:
        return CallOriginalProc(message, wParam, lParam) | (m_defaultButton ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
        const WPARAM type = wParam & ButtonTypeBits;
        if (type == BS_DEFPUSHBUTTON)
            m_defaultButton = true;
        else if (type == BS_PUSHBUTTON)
            m_defaultButton = false;
        return CallOriginalProc(message, (wParam & ~static_cast<WPARAM>(ButtonTypeBits)) | BS_OWNERDRAW, lParam);
    }
    case BM_SETCHECK:
        if (m_checkBoxMode) {
            m_checked = wParam == BST_CHECKED || wParam == BST_INDETERMINATE;
            Repaint();
        }
        return 0;
    case BM_GETCHECK:
        return m_checked ? BST_CHECKED : BST_UNCHECKED;
    case WM_LBUTTONDBLCLK:
        // Owner-drawn buttons report double clicks separately; here each one
        // is a click of its own.
        return CallOriginalProc(WM_LBUTTONDOWN, wParam, lParam);
    default:
        break;
    }
    return CallOriginalProc(message, wParam, lParam);
}

bool CImageButton::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    case WM_COMMAND:
        // The parent's own command handler runs after the click handling.
        if (HIWORD(wParam) == BN_CLICKED)
            OnClicked();
        return false;
    default:
        return false;
    }
}

void CImageButton::TrackHover(WPARAM keys, LPARAM position)
{
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ClientToScreen(*this, &point);
    HWND under = WindowFromPoint(point);
    // Dragging onto the button does not start the hover look.
    if ((keys & MK_LBUTTON) != 0 && !m_pointerOver)
        return;
    if (under != GetSafeHwnd()) {
        EndHover();
        return;
    }
    if (m_pointerOver)
        return;
    m_pointerOver = true;
    Repaint();
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = *this;
    TrackMouseEvent(&track);
}

void CImageButton::EndHover()
{
    if (!m_pointerOver)
        return;
    m_pointerOver = false;
    Repaint();
}

void CImageButton::OnClicked()
{
    SetFocus(*this);
    if (m_checkBoxMode) {
        m_checked = !m_checked;
        Repaint();
        return;
    }
    if (m_linkTarget[0] != '\0')
        ShellOpenQuietly(m_linkTarget, SW_SHOWMAXIMIZED);
}

// Drawing -------------------------------------------------------------------

bool CImageButton::ShowsPrimary() const
{
    if (m_checkBoxMode)
        return m_pressed;
    return m_pointerOver || m_pressed;
}

void CImageButton::PaintBackground(HDC dc, const RECT& rect)
{
    COLORREF colour = m_restingBackground;
    if (m_pointerOver || m_pressed)
        colour = m_activeBackground;
    else if (m_focused)
        colour = m_focusedBackground;
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void CImageButton::PaintBorder(HDC dc, const RECT& rect)
{
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF topLeft = m_pressed ? shadow : highlight;
    const COLORREF bottomRight = m_pressed ? highlight : shadow;
    const COLORREF old = GetBkColor(dc);
    const RECT edges[] = {
        {rect.left, rect.top, rect.right, rect.top + 1},          // top
        {rect.left, rect.top, rect.left + 1, rect.bottom},        // left
        {rect.left, rect.bottom - 1, rect.right, rect.bottom},    // bottom
        {rect.right - 1, rect.top, rect.right, rect.bottom},      // right
    };
    for (size_t i = 0; i < 4; ++i) {
        SetBkColor(dc, i < 2 ? topLeft : bottomRight);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &edges[i], nullptr, 0, nullptr);
    }
    SetBkColor(dc, old);
}

void CImageButton::DrawBitmap(HDC dc, const Bitmap& bitmap, const RECT& where) const
{
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr)
        return;
    const int w = bitmap.width;
    const int h = bitmap.height;
    if (!m_disabled) {
        // AND the mask (white keeps the target, black clears it), then OR in
        // the blackened bitmap: the background shows through.
        const COLORREF oldBk = SetBkColor(dc, White);
        const COLORREF oldText = SetTextColor(dc, Black);
        HGDIOBJ old = SelectObject(source, bitmap.mask);
        BitBlt(dc, where.left, where.top, w, h, source, 0, 0, SRCAND);
        SelectObject(source, bitmap.handle);
        BitBlt(dc, where.left, where.top, w, h, source, 0, 0, SRCPAINT);
        SelectObject(source, old);
        SetBkColor(dc, oldBk);
        SetTextColor(dc, oldText);
        DeleteDC(source);
        return;
    }
    // Disabled: the picture on white, embossed by the platform.
    HDC composition = CreateCompatibleDC(dc);
    HBITMAP composed = CreateCompatibleBitmap(dc, w, h);
    if (composition != nullptr && composed != nullptr) {
        HGDIOBJ oldComposed = SelectObject(composition, composed);
        PatBlt(composition, 0, 0, w, h, WHITENESS);
        SetBkColor(composition, White);
        SetTextColor(composition, Black);
        HGDIOBJ old = SelectObject(source, bitmap.mask);
        BitBlt(composition, 0, 0, w, h, source, 0, 0, SRCAND);
        SelectObject(source, bitmap.handle);
        BitBlt(composition, 0, 0, w, h, source, 0, 0, SRCPAINT);
        SelectObject(source, old);
        SelectObject(composition, oldComposed);
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(composed), 0, where.left, where.top, w, h,
                   DST_BITMAP | DSS_DISABLED);
    }
    if (composed != nullptr)
        DeleteObject(composed);
    if (composition != nullptr)
        DeleteDC(composition);
    DeleteDC(source);
}

void CImageButton::DrawCaption(HDC dc, const RECT& captionRect, const std::string& caption) const
{
    RECT block = captionRect;
    DrawTextA(dc, caption.c_str(), -1, &block, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    block = CentreCaptionBlock(captionRect, block);
    const UINT format = DT_WORDBREAK | DT_CENTER;
    if (m_disabled) {
        RECT raised = block;
        OffsetRect(&raised, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption.c_str(), -1, &raised, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextA(dc, caption.c_str(), -1, &block, format);
    } else {
        SetTextColor(dc, m_pointerOver || m_pressed ? m_activeText : m_restingText);
        DrawTextA(dc, caption.c_str(), -1, &block, format);
    }
}

void CImageButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    m_pressed = (item.itemState & ODS_SELECTED) != 0 || (m_checkBoxMode && m_checked);
    m_focused = (item.itemState & ODS_FOCUS) != 0;
    m_disabled = (item.itemState & ODS_DISABLED) != 0;

    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = GetTextColor(dc);
    const COLORREF oldBk = GetBkColor(dc);
    PaintBackground(dc, rect);
    if (m_border && (m_pressed || m_pointerOver))
        PaintBorder(dc, rect);

    const std::string caption = GetWindowTextString(item.hwndItem);
    const bool hasCaption = !caption.empty();
    RECT captionRect = rect;
    const bool primary = ShowsPrimary();

    if (m_primaryIcon.handle != nullptr) {
        const Icon& icon = primary || m_restingIcon.handle == nullptr ? m_primaryIcon : m_restingIcon;
        const ImageButtonLayout layout = ComputeImageButtonLayout(rect, SIZE{icon.width, icon.height}, m_placement,
                                                                  hasCaption, m_pressed, m_checkBoxMode);
        captionRect = layout.caption;
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.handle), 0, layout.image.left,
                   layout.image.top, icon.width, icon.height, DST_ICON | (m_disabled ? DSS_DISABLED : DSS_NORMAL));
    } else if (m_primaryBitmap.handle != nullptr) {
        const Bitmap& bitmap = primary || m_restingBitmap.handle == nullptr ? m_primaryBitmap : m_restingBitmap;
        SetBkColor(dc, White);
        const ImageButtonLayout layout = ComputeImageButtonLayout(rect, SIZE{bitmap.width, bitmap.height},
                                                                  m_placement, hasCaption, m_pressed, m_checkBoxMode);
        captionRect = layout.caption;
        DrawBitmap(dc, bitmap, layout.image);
    } else if (m_pressed && !m_checkBoxMode) {
        OffsetRect(&captionRect, 1, 1);
    }

    if (hasCaption) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
        HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
        DrawCaption(dc, captionRect, caption);
        if (oldFont != nullptr)
            SelectObject(dc, oldFont);
    }

    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}
