#include "ControlsTestDialog.h"
#include "ControlsTestRes.h"

#include "controls/ImageButton.h"
#include "controls/ShellOpen.h"

#include "support/Tooltip.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

const COLORREF Red = RGB(255, 0, 0);   // inside of the primary bitmap
const COLORREF Blue = RGB(0, 0, 255);  // inside of the resting bitmap
const COLORREF Green = RGB(0, 255, 0); // inside of the icon
const COLORREF White = RGB(255, 255, 255);

COLORREF Face()
{
    return GetSysColor(COLOR_BTNFACE);
}

bool IsCaptionPixel(COLORREF p)
{
    return p != Face() && p != Red && p != Blue && p != Green;
}

LPARAM ClientCentre(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

// A mouse move over the button, with the real pointer there too so that the
// platform's leave tracking agrees.
void MoveOver(HWND button, WPARAM keys = 0)
{
    const POINT centre = ScreenCentre(button);
    SetCursorPos(centre.x, centre.y);
    SendMessageA(button, WM_MOUSEMOVE, keys, ClientCentre(button));
}

class ImageButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ShowTestDialog(dialog));
        ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_PLAIN, dialog));
        button.SetBorderVisible(false);
        RECT r;
        GetClientRect(button, &r);
        width = r.right;
        height = r.bottom;
    }
    void TearDown() override { SetShellOpenHook({}); }

    // The button drawn in `itemState` into a fresh canvas.
    void Render(CCanvas& canvas, UINT itemState = 0) { RenderButton(button, canvas, itemState); }

    CControlsTestDialog dialog;
    CImageButton& button = dialog.plain;
    int width = 0;
    int height = 0;
};

TEST(ImageButtonLayout, PlacesImageAndCaption)
{
    struct Row {
        const char* name;
        RECT button;
        SIZE image;
        BYTE placement;
        bool caption;
        bool pressed;
        bool checkBox;
        RECT expectedImage;
        RECT expectedCaption;
    };
    const RECT b = {0, 0, 100, 60};
    const Row rows[] = {
        {"left", b, {20, 10}, 0, true, false, false, {3, 25, 23, 35}, {23, 0, 100, 60}},
        {"above", b, {20, 10}, 1, true, false, false, {40, 3, 60, 13}, {0, 10, 100, 60}},
        {"right", b, {20, 10}, 2, true, false, false, {77, 25, 97, 35}, {3, 0, 77, 60}},
        {"left, no caption", b, {20, 10}, 0, false, false, false, {40, 25, 60, 35}, b},
        {"above, no caption", b, {20, 10}, 1, false, false, false, {40, 25, 60, 35}, b},
        {"right, no caption", b, {20, 10}, 2, false, false, false, {40, 0, 60, 10}, b},
        {"pressed", b, {20, 10}, 1, true, true, false, {41, 4, 61, 14}, {1, 11, 101, 61}},
        {"pressed check box", b, {20, 10}, 1, true, true, true, {40, 3, 60, 13}, {0, 10, 100, 60}},
        {"odd sizes halve toward zero", {0, 0, 101, 61}, {20, 10}, 0, false, false, false, {40, 25, 60, 35}, {0, 0, 101, 61}},
        {"image larger than button", {0, 0, 20, 20}, {31, 31}, 1, false, false, false, {-5, -5, 26, 26}, {0, 0, 20, 20}},
    };
    for (const Row& row : rows) {
        const ImageButtonLayout layout =
            ComputeImageButtonLayout(row.button, row.image, row.placement, row.caption, row.pressed, row.checkBox);
        EXPECT_EQ(RectText(row.expectedImage), RectText(layout.image)) << row.name;
        EXPECT_EQ(RectText(row.expectedCaption), RectText(layout.caption)) << row.name;
    }
}

TEST(ImageButtonLayout, CentresCaptionBlock)
{
    struct Row {
        RECT caption;
        RECT block;
        RECT expected;
    };
    const Row rows[] = {
        {{0, 10, 100, 60}, {0, 10, 31, 23}, {34, 28, 65, 41}},
        {{0, 0, 10, 10}, {0, 0, 15, 13}, {-2, -1, 13, 12}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RectText(row.expected), RectText(CentreCaptionBlock(row.caption, row.block)));
}

TEST_F(ImageButtonTest, BindingMakesOwnerDrawnButtonsOfEveryTemplateType)
{
    struct Row {
        const char* name;
        CImageButton* control;
        UINT id;
        bool checkBoxMode;
        bool defaultButton;
    };
    const Row rows[] = {
        {"push button", &dialog.plain, IDC_TEST_PLAIN, false, false},
        {"default push button", &dialog.defaultButton, IDC_TEST_DEFAULT, false, true},
        {"check box", &dialog.check, IDC_TEST_CHECK, true, false},
    };
    for (const Row& row : rows) {
        if (row.control->GetSafeHwnd() == nullptr) {
            ASSERT_TRUE(row.control->SubclassDlgItem(row.id, dialog)) << row.name;
        }
        EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(*row.control, GWL_STYLE) & 0x1F) << row.name;
        EXPECT_EQ(row.checkBoxMode, row.control->IsCheckBoxMode()) << row.name;
        EXPECT_EQ(row.defaultButton, row.control->IsDefaultButton()) << row.name;
    }
}

TEST_F(ImageButtonTest, SetStyleTracksDefaultAndStaysOwnerDrawn)
{
    struct Row {
        WPARAM style;
        LRESULT expectedCode;
    };
    const Row rows[] = {{BS_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON}, {BS_PUSHBUTTON, DLGC_UNDEFPUSHBUTTON}};
    for (const Row& row : rows) {
        SendMessageA(button, BM_SETSTYLE, row.style, TRUE);
        EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(button, GWL_STYLE) & 0x1F) << row.style;
        const LRESULT code = SendMessageA(button, WM_GETDLGCODE, 0, 0);
        EXPECT_EQ(row.expectedCode, code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) << row.style;
    }
}

TEST_F(ImageButtonTest, ShowsRestingImageUntilPointedAtOrPressed)
{
    enum Action { None, Hover, HoverThenLeave, DragOnto, HoverThenKillFocus, HoverThenCancelMode, HoverThenElsewhere };
    struct Row {
        const char* name;
        UINT resting;
        Action action;
        UINT itemState;
        COLORREF expected;
        bool pointerOver;
    };
    const Row rows[] = {
        {"primary only, resting", 0, None, 0, Red, false},
        {"primary only, pointed at", 0, Hover, 0, Red, true},
        {"primary only, pressed", 0, None, ODS_SELECTED, Red, false},
        {"two bitmaps, resting", IDB_TEST_RESTING, None, 0, Blue, false},
        {"two bitmaps, pointed at", IDB_TEST_RESTING, Hover, 0, Red, true},
        {"two bitmaps, pressed", IDB_TEST_RESTING, None, ODS_SELECTED, Red, false},
        {"two bitmaps, after mouse leave", IDB_TEST_RESTING, HoverThenLeave, 0, Blue, false},
        {"two bitmaps, dragged onto", IDB_TEST_RESTING, DragOnto, 0, Blue, false},
        {"two bitmaps, focus lost", IDB_TEST_RESTING, HoverThenKillFocus, 0, Blue, false},
        {"two bitmaps, cancel mode", IDB_TEST_RESTING, HoverThenCancelMode, 0, Blue, false},
        {"two bitmaps, moved over another window", IDB_TEST_RESTING, HoverThenElsewhere, 0, Blue, false},
    };
    for (const Row& row : rows) {
        button.AssignBitmaps(IDB_TEST_PRIMARY, White, row.resting, White);
        SendMessageA(button, WM_MOUSELEAVE, 0, 0);
        switch (row.action) {
        case None:
            break;
        case DragOnto:
            MoveOver(button, MK_LBUTTON);
            break;
        default:
            MoveOver(button);
            break;
        }
        if (row.action == HoverThenLeave)
            SendMessageA(button, WM_MOUSELEAVE, 0, 0);
        else if (row.action == HoverThenKillFocus)
            SendMessageA(button, WM_KILLFOCUS, 0, 0);
        else if (row.action == HoverThenCancelMode)
            SendMessageA(button, WM_CANCELMODE, 0, 0);
        else if (row.action == HoverThenElsewhere)
            SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(width + 30, height / 2));
        EXPECT_EQ(row.pointerOver, button.IsPointerOver()) << row.name;

        CCanvas canvas(width, height);
        Render(canvas, row.itemState);
        int expectedCount = 0;
        int otherCount = 0;
        canvas.FindColour(row.expected, &expectedCount);
        canvas.FindColour(row.expected == Red ? Blue : Red, &otherCount);
        EXPECT_EQ(64, expectedCount) << row.name;
        EXPECT_EQ(0, otherCount) << row.name;
    }
}

TEST_F(ImageButtonTest, TransparentWhiteShowsTheBackground)
{
    button.AssignBitmaps(IDB_TEST_PRIMARY, White);
    CCanvas canvas(width, height);
    Render(canvas);
    int redCount = 0;
    const RECT inner = canvas.FindColour(Red, &redCount);
    ASSERT_EQ(64, redCount);
    // The 2-pixel white frame of the bitmap around the red square.
    for (int i = -2; i < 10; ++i) {
        EXPECT_EQ(Face(), canvas.Pixel(inner.left + i, inner.top - 1)) << i;
        EXPECT_EQ(Face(), canvas.Pixel(inner.left - 2, inner.top + i)) << i;
        EXPECT_EQ(Face(), canvas.Pixel(inner.left + i, inner.bottom + 1)) << i;
    }
    int whiteCount = 0;
    canvas.FindColour(White, &whiteCount);
    EXPECT_EQ(0, whiteCount);
}

TEST_F(ImageButtonTest, PressingMovesImageAndCaptionOnePixel)
{
    button.AssignBitmaps(IDB_TEST_PRIMARY, White);
    RECT image[3];
    RECT caption[3];
    const UINT states[3] = {0, ODS_SELECTED, 0};
    for (int i = 0; i < 3; ++i) {
        CCanvas canvas(width, height);
        Render(canvas, states[i]);
        image[i] = canvas.FindColour(Red);
        caption[i] = canvas.Find(IsCaptionPixel);
        ASSERT_FALSE(IsEmpty(image[i])) << i;
        ASSERT_FALSE(IsEmpty(caption[i])) << i;
    }
    OffsetRect(&image[0], 1, 1);
    OffsetRect(&caption[0], 1, 1);
    EXPECT_EQ(RectText(image[0]), RectText(image[1]));
    EXPECT_EQ(RectText(caption[0]), RectText(caption[1]));
    OffsetRect(&image[0], -1, -1);
    OffsetRect(&caption[0], -1, -1);
    EXPECT_EQ(RectText(image[0]), RectText(image[2])) << "released";
    EXPECT_EQ(RectText(caption[0]), RectText(caption[2])) << "released";
}

TEST_F(ImageButtonTest, PlacementPutsImageBesideCaption)
{
    button.AssignBitmaps(IDB_TEST_PRIMARY, White);
    struct Row {
        BYTE placement;
        const char* where;
    };
    const Row rows[] = {{0, "left"}, {1, "above"}, {2, "right"}};
    for (const Row& row : rows) {
        button.SetImagePlacement(row.placement);
        CCanvas canvas(width, height);
        Render(canvas);
        const RECT image = canvas.FindColour(Red);
        const RECT caption = canvas.Find(IsCaptionPixel);
        ASSERT_FALSE(IsEmpty(image)) << row.where;
        ASSERT_FALSE(IsEmpty(caption)) << row.where;
        const std::string seen = "image " + RectText(image) + " caption " + RectText(caption);
        const LONG imageMiddleX = (image.left + image.right) / 2;
        const LONG imageMiddleY = (image.top + image.bottom) / 2;
        switch (row.placement) {
        case 0:
            EXPECT_LE(image.right, caption.left) << seen;
            EXPECT_EQ(3 + 2, image.left) << seen;
            EXPECT_NEAR(height / 2, imageMiddleY, 1) << seen;
            break;
        case 1:
            EXPECT_LE(image.bottom, caption.top) << seen;
            EXPECT_EQ(3 + 2, image.top) << seen;
            EXPECT_NEAR(width / 2, imageMiddleX, 1) << seen;
            break;
        default:
            EXPECT_GE(image.left, caption.right) << seen;
            EXPECT_EQ(width - 3 - 2, image.right) << seen;
            EXPECT_NEAR(height / 2, imageMiddleY, 1) << seen;
            break;
        }
    }
}

TEST_F(ImageButtonTest, ImageWithoutCaptionIsCentredExceptOnTheRight)
{
    button.AssignBitmaps(IDB_TEST_PRIMARY, White);
    SetWindowTextA(button, "");
    struct Row {
        BYTE placement;
        LONG expectedTop;
    };
    const Row rows[] = {{0, (height - 12) / 2 + 2}, {1, (height - 12) / 2 + 2}, {2, 2}};
    for (const Row& row : rows) {
        button.SetImagePlacement(row.placement);
        CCanvas canvas(width, height);
        Render(canvas);
        const RECT image = canvas.FindColour(Red);
        EXPECT_EQ(row.expectedTop, image.top) << int(row.placement) << " " << RectText(image);
        EXPECT_EQ((width - 12) / 2 + 2, image.left) << int(row.placement) << " " << RectText(image);
    }
}

TEST_F(ImageButtonTest, PlacementAboveTwoIsRefused)
{
    button.SetImagePlacement(2);
    button.SetImagePlacement(3);
    EXPECT_EQ(2, button.ImagePlacement());
}

TEST_F(ImageButtonTest, DisabledButtonIsEmbossed)
{
    button.AssignBitmaps(IDB_TEST_PRIMARY, White);
    CCanvas enabled(width, height);
    Render(enabled);
    const RECT image = enabled.FindColour(Red);
    ASSERT_FALSE(IsEmpty(image));

    CCanvas disabled(width, height);
    Render(disabled, ODS_DISABLED);
    int redCount = 0;
    disabled.FindColour(Red, &redCount);
    EXPECT_EQ(0, redCount) << "the bitmap keeps its colours";
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    int shadowInImage = 0;
    for (int y = image.top; y < image.bottom; ++y)
        for (int x = image.left; x < image.right; ++x)
            shadowInImage += disabled.Pixel(x, y) == shadow ? 1 : 0;
    EXPECT_GT(shadowInImage, 32) << "the bitmap is not drawn embossed";
    // Transparent places stay the background, not the white ground.
    EXPECT_EQ(Face(), disabled.Pixel(image.left - 2, image.top - 2));

    int textCount = 0;
    int highlightCount = 0;
    int shadowCount = 0;
    disabled.FindColour(GetSysColor(COLOR_BTNTEXT), &textCount);
    disabled.FindColour(GetSysColor(COLOR_BTNHIGHLIGHT), &highlightCount);
    disabled.FindColour(shadow, &shadowCount);
    EXPECT_EQ(0, textCount) << "the caption is drawn in the text colour";
    EXPECT_GT(highlightCount, 0);
    EXPECT_GT(shadowCount, shadowInImage) << "the caption has no shadow";
}

TEST_F(ImageButtonTest, IconsAndBitmapsReplaceEachOther)
{
    struct Row {
        bool icons;
        COLORREF shown;
        COLORREF gone;
    };
    const Row rows[] = {{false, Red, Green}, {true, Green, Red}, {false, Red, Green}};
    for (const Row& row : rows) {
        if (row.icons)
            button.AssignIcons(IDI_TEST_GREEN);
        else
            button.AssignBitmaps(IDB_TEST_PRIMARY, White);
        CCanvas canvas(width, height);
        Render(canvas);
        int shown = 0;
        int gone = 0;
        canvas.FindColour(row.shown, &shown);
        canvas.FindColour(row.gone, &gone);
        EXPECT_EQ(64, shown) << (row.icons ? "icons" : "bitmaps");
        EXPECT_EQ(0, gone) << (row.icons ? "icons" : "bitmaps");
    }
}

TEST_F(ImageButtonTest, MissingBitmapLeavesTheCaptionCentred)
{
    button.AssignBitmaps(IDB_TEST_MISSING, White);
    CCanvas canvas(width, height);
    Render(canvas);
    int red = 0;
    canvas.FindColour(Red, &red);
    EXPECT_EQ(0, red);
    const RECT caption = canvas.Find(IsCaptionPixel);
    ASSERT_FALSE(IsEmpty(caption));
    EXPECT_NEAR(caption.left, width - caption.right, 2) << RectText(caption);
    EXPECT_NEAR(caption.top, height - caption.bottom, 2) << RectText(caption);
}

TEST_F(ImageButtonTest, LongCaptionWrapsCentredBelowTheImage)
{
    button.SetImagePlacement(1);
    button.AssignBitmaps(IDB_TEST_PRIMARY, White);
    CCanvas oneLine(width, height);
    Render(oneLine);
    const RECT shortCaption = oneLine.Find(IsCaptionPixel);

    SetWindowTextA(button, "Scan all the removable drives now");
    CCanvas canvas(width, height);
    Render(canvas);
    const RECT image = canvas.FindColour(Red);
    const RECT caption = canvas.Find(IsCaptionPixel);
    ASSERT_FALSE(IsEmpty(caption));
    EXPECT_GT(caption.bottom - caption.top, 3 * (shortCaption.bottom - shortCaption.top) / 2)
        << "not wrapped: " << RectText(caption);
    EXPECT_LE(caption.right - caption.left, width);
    EXPECT_GE(caption.top, image.bottom) << RectText(caption);
    EXPECT_NEAR(caption.left, width - caption.right, 3) << RectText(caption);
}

TEST_F(ImageButtonTest, BorderFollowsTheState)
{
    button.SetBorderVisible(true);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    struct Row {
        const char* name;
        bool hover;
        UINT itemState;
        COLORREF topLeft;
        COLORREF bottomRight;
    };
    const Row rows[] = {
        {"resting", false, 0, Face(), Face()},
        {"pointed at", true, 0, highlight, shadow},
        {"pressed", false, ODS_SELECTED, shadow, highlight},
    };
    for (const Row& row : rows) {
        SendMessageA(button, WM_MOUSELEAVE, 0, 0);
        if (row.hover)
            MoveOver(button);
        CCanvas canvas(width, height);
        Render(canvas, row.itemState);
        EXPECT_EQ(row.topLeft, canvas.Pixel(0, height / 2)) << row.name;
        EXPECT_EQ(row.topLeft, canvas.Pixel(width / 2, 0)) << row.name;
        EXPECT_EQ(row.bottomRight, canvas.Pixel(width - 1, height / 2)) << row.name;
        EXPECT_EQ(row.bottomRight, canvas.Pixel(width / 2, height - 1)) << row.name;
        EXPECT_EQ(Face(), canvas.Pixel(1, height / 2)) << row.name << ": frame wider than one pixel";
    }
}

TEST_F(ImageButtonTest, CheckBoxModeTogglesAndKeepsTheImageInPlace)
{
    CImageButton& box = dialog.check;
    ASSERT_TRUE(box.SubclassDlgItem(IDC_TEST_CHECK, dialog));
    box.SetBorderVisible(false);
    box.AssignBitmaps(IDB_TEST_PRIMARY, White, IDB_TEST_RESTING, White);

    EXPECT_EQ(BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));

    struct Row {
        WPARAM set;
        LRESULT expected;
    };
    const Row rows[] = {{BST_CHECKED, BST_CHECKED}, {BST_UNCHECKED, BST_UNCHECKED}, {BST_INDETERMINATE, BST_CHECKED}};
    for (const Row& row : rows) {
        SendMessageA(box, BM_SETCHECK, row.set, 0);
        EXPECT_EQ(row.expected, SendMessageA(box, BM_GETCHECK, 0, 0)) << row.set;
    }

    RECT client;
    GetClientRect(box, &client);
    SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    CCanvas unchecked(client.right, client.bottom);
    RenderButton(box, unchecked);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    CCanvas checked(client.right, client.bottom);
    RenderButton(box, checked);
    const RECT resting = unchecked.FindColour(Blue);
    const RECT primary = checked.FindColour(Red);
    ASSERT_FALSE(IsEmpty(resting));
    EXPECT_EQ(RectText(resting), RectText(primary)) << "checked shows the primary image where the resting one was";
}

TEST_F(ImageButtonTest, PushButtonIgnoresSetCheck)
{
    SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(button, BM_GETCHECK, 0, 0));
}

TEST_F(ImageButtonTest, DoubleClickGivesTwoClicks)
{
    const LPARAM at = MAKELPARAM(5, 5);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(button, WM_LBUTTONUP, 0, at);
    SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(button, WM_LBUTTONUP, 0, at);
    const std::vector<std::string> expected = {"plain clicked", "plain clicked"};
    EXPECT_EQ(expected, dialog.calls);
}

TEST_F(ImageButtonTest, ClickOpensLinkTargetBeforeTheParentsHandler)
{
    SetShellOpenHook([this](const std::string& address, int show) {
        dialog.calls.push_back("open " + address + " " + std::to_string(show));
        return INT_PTR(42);
    });
    SetFocus(GetDlgItem(dialog, IDC_TEST_EDIT));
    button.SetLinkTarget("http://example.test/page");
    SendMessageA(button, BM_CLICK, 0, 0);
    const std::vector<std::string> expected = {"open http://example.test/page " + std::to_string(SW_SHOWMAXIMIZED),
                                               "plain clicked"};
    EXPECT_EQ(expected, dialog.calls);
    EXPECT_EQ(button.GetSafeHwnd(), GetFocus());

    dialog.calls.clear();
    button.SetLinkTarget(nullptr);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(std::vector<std::string>{"plain clicked"}, dialog.calls);
}

TEST_F(ImageButtonTest, LinkTargetThatDoesNotFitIsRefused)
{
    struct Row {
        size_t length;
        bool kept;
    };
    const Row rows[] = {{0, true}, {259, true}, {260, false}, {400, false}};
    for (const Row& row : rows) {
        button.SetLinkTarget("http://old.test/");
        const std::string target = std::string("http://a.test/") + std::string(row.length > 14 ? row.length - 14 : 0, 'x');
        const std::string given = row.length == 0 ? std::string() : target;
        button.SetLinkTarget(given);
        EXPECT_EQ(row.kept ? given : std::string(), std::string(button.LinkTarget())) << row.length;
    }
}

TEST_F(ImageButtonTest, DisablingMovesTheFocusToTheNextControl)
{
    struct Row {
        const char* name;
        int focusedId;
    };
    const Row rows[] = {{"button had the focus", IDC_TEST_PLAIN}, {"another control had it", IDC_TEST_EDIT}};
    for (const Row& row : rows) {
        EnableWindow(button, TRUE);
        SetFocus(GetDlgItem(dialog, row.focusedId));
        MoveOver(button);
        EnableWindow(button, FALSE);
        EXPECT_EQ(GetDlgItem(dialog, IDC_TEST_NEXT), GetFocus()) << row.name;
        EXPECT_FALSE(button.IsPointerOver()) << row.name;
    }
}

TEST_F(ImageButtonTest, HoverCursorIsShownOnSetCursor)
{
    button.SetHoverCursor(IDC_TEST_CURSOR);
    HCURSOR cursor = button.HoverCursor();
    ASSERT_NE(nullptr, cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_EQ(5u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);

    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(TRUE, SendMessageA(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button.GetSafeHwnd()), hit));
    EXPECT_EQ(cursor, GetCursor());

    button.SetHoverCursor(0);
    EXPECT_EQ(nullptr, button.HoverCursor());
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    SendMessageA(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button.GetSafeHwnd()), hit);
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), GetCursor());
}

TEST_F(ImageButtonTest, TooltipCarriesTheText)
{
    button.SetTipText(nullptr);
    EXPECT_EQ(nullptr, button.TooltipWindow()) << "an absent text creates nothing";

    const char* texts[] = {"Repair registry changed by malicious programs\r\nNo harm to your computer", "Scan"};
    for (const char* text : texts) {
        button.SetTipText(text, true);
        HWND tooltip = button.TooltipWindow();
        ASSERT_NE(nullptr, tooltip);
        EXPECT_EQ(text, TooltipText(tooltip, button));
        EXPECT_EQ(1, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        EXPECT_EQ(400, SendMessageA(tooltip, TTM_GETMAXTIPWIDTH, 0, 0));
    }
}

} // namespace
