// The test dialog of the control tests and helpers to look at what they draw.
#pragma once

#include "controls/ImageButton.h"
#include "controls/LinkLabel.h"
#include "framework/Dialog.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A visible, topmost dialog on template IDD_CONTROLS_TEST that records the
// commands its own handlers see. The controls are bound by each test.
class CControlsTestDialog : public CDialog {
public:
    CControlsTestDialog();

    CImageButton plain;
    CImageButton defaultButton;
    CImageButton check;
    CLinkLabel mail;
    CLinkLabel emptyLink;
    std::vector<std::string> calls;

protected:
    void OnPlain() { calls.push_back("plain clicked"); }
    void OnMail() { calls.push_back("mail clicked"); }

    DECLARE_MESSAGE_TABLE()
};

// Creates the dialog shown at a fixed place, on top and in the foreground.
bool ShowTestDialog(CControlsTestDialog& dialog);

// Dispatches the thread's messages for `milliseconds`, or until `done` holds.
void PumpMessages(DWORD milliseconds, const std::function<bool()>& done = {});

// The centre of `window` in screen coordinates.
POINT ScreenCentre(HWND window);

// A 32-bit top-down picture to draw into and read pixels from.
class CCanvas {
public:
    CCanvas(int width, int height);
    ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF Pixel(int x, int y) const;
    // Bounding box of the pixels for which `match` holds (empty when none) and their count.
    RECT Find(const std::function<bool(COLORREF)>& match, int* count = nullptr) const;
    RECT FindColour(COLORREF colour, int* count = nullptr) const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
};

// Draws `button` into `canvas` as its parent's WM_DRAWITEM would.
void RenderButton(CImageButton& button, CCanvas& canvas, UINT itemState = 0);

std::string RectText(const RECT& r);
bool IsEmpty(const RECT& r);
