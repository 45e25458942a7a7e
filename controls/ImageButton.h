// The flat owner-drawn push button behind every button of the main program:
// a bitmap or icon with the caption, a hover image, its own cursor, a tooltip
// and optionally an address opened on click. It attaches to a push button of a
// dialog template; the control keeps its id, caption, font, tab position and
// its command notification to the parent.
#pragma once

#include "framework/Subclass.h"

#include <windows.h>

#include <string>

// Every picture of the program is drawn with white where it is transparent.
constexpr COLORREF PictureTransparentColour = RGB(255, 255, 255);
// The pointing hand shown over buttons (cursor resource of the program).
constexpr UINT HandCursorResource = 137;

// Where the image sits beside the caption.
enum : BYTE { ImageLeft = 0, ImageAbove = 1, ImageRight = 2 };

// Image and caption rectangles of one paint. Pure: a function of its inputs.
struct ImageButtonLayout {
    RECT image;
    RECT caption;
};
// `button` is the client rectangle, `image` the image's size; `pressed` moves
// image and caption one pixel right and down (never in check-box mode).
ImageButtonLayout ComputeImageButtonLayout(const RECT& button, SIZE image, BYTE placement, bool hasCaption,
                                           bool pressed, bool checkBoxMode);
// `block` (as measured, at the caption rectangle's top left) centred in `caption`.
RECT CentreCaptionBlock(const RECT& caption, const RECT& block);

class CImageButton : public CSubclassedWindow {
public:
    CImageButton();
    ~CImageButton() override;

    // Releases all images and icons, loads the bitmaps (resting id 0: none) and
    // builds their masks once; repaints.
    void AssignBitmaps(UINT primaryId, COLORREF primaryTransparent, UINT restingId = 0,
                       COLORREF restingTransparent = RGB(255, 255, 255));
    // Releases all images and icons, loads the icons (resting id 0: none); repaints.
    void AssignIcons(UINT primaryId, UINT restingId = 0);
    // 0 left of, 1 above, 2 right of the caption; a value above 2 changes nothing.
    void SetImagePlacement(BYTE placement, bool repaint = true);
    void SetBorderVisible(bool visible, bool repaint = true);
    // Cursor while the pointer is over the button; 0 for none of its own.
    void SetHoverCursor(UINT cursorId, bool repaint = true);
    // Creates the tooltip on first use; a null text is ignored.
    void SetTipText(const char* text, bool activate = true);
    void SetTipText(const std::string& text, bool activate = true) { SetTipText(text.c_str(), activate); }
    // Address opened by the shell on click; null or "" for none. A text longer
    // than LinkTargetCapacity - 1 bytes is refused, leaving no target.
    void SetLinkTarget(const char* target);
    void SetLinkTarget(const std::string& target) { SetLinkTarget(target.c_str()); }

    // Paints the button into the record's DC (the parent's WM_DRAWITEM).
    void DrawItem(const DRAWITEMSTRUCT& item);

    BYTE ImagePlacement() const { return m_placement; }
    bool IsPointerOver() const { return m_pointerOver; }
    bool IsCheckBoxMode() const { return m_checkBoxMode; }
    bool IsDefaultButton() const { return m_defaultButton; }
    bool IsChecked() const { return m_checked; }
    HCURSOR HoverCursor() const { return m_cursor; }
    HWND TooltipWindow() const { return m_tooltip; }
    const char* LinkTarget() const { return m_linkTarget; }

    static constexpr size_t LinkTargetCapacity = 260;

    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSubclassed() override;

    virtual void PaintBackground(HDC dc, const RECT& rect);
    virtual void PaintBorder(HDC dc, const RECT& rect);

private:
    struct Icon {
        HICON handle = nullptr;
        int width = 0;
        int height = 0;
    };
    struct Bitmap {
        HBITMAP handle = nullptr; // transparent pixels turned black
        int width = 0;
        int height = 0;
        HBITMAP mask = nullptr;   // 1 where transparent
        COLORREF transparent = 0;
    };

    void TrackHover(WPARAM keys, LPARAM position);
    void EndHover();
    void OnClicked();
    void Repaint();
    void ReleaseImages();
    void CreateTooltip();
    bool ShowsPrimary() const;
    void DrawBitmap(HDC dc, const Bitmap& bitmap, const RECT& where) const;
    void DrawCaption(HDC dc, const RECT& captionRect, const std::string& caption) const;

    static bool LoadBitmapWithMask(UINT id, COLORREF transparent, Bitmap& bitmap);
    static bool LoadIconResource(UINT id, Icon& icon);
    static void ReleaseBitmap(Bitmap& bitmap);
    static void ReleaseIcon(Icon& icon);

    bool m_pointerOver = false;
    bool m_pressed = false;
    bool m_focused = false;
    bool m_disabled = false;
    bool m_defaultButton = false;
    bool m_checkBoxMode = false;
    BYTE m_placement = ImageLeft;
    bool m_border = true;
    COLORREF m_activeBackground;
    COLORREF m_activeText;
    COLORREF m_restingBackground;
    COLORREF m_restingText;
    COLORREF m_focusedBackground;
    COLORREF m_focusedText;
    HCURSOR m_cursor = nullptr;
    HWND m_tooltip = nullptr;
    bool m_hasTool = false;
    bool m_checked = false;
    char m_linkTarget[LinkTargetCapacity] = {};
    Icon m_primaryIcon;
    Icon m_restingIcon;
    Bitmap m_primaryBitmap;
    Bitmap m_restingBitmap;
};
