#include "framework/Strings.h"
#include "panels/usb/ToolsPanel.h"
#include "panels/usb/ToolsPanelRes.h"
#include "support/Tooltip.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

TEST(ToolsPanel, HelpTextsButtonsAndTooltips)
{
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    CToolsPanel panel;
    ASSERT_TRUE(panel.Create(host));
    EXPECT_EQ(LoadResString(IDS_IMMUNITY_HELP), panel.GetItemText(IDC_TOOLS_IMMUNITY_HELP));
    EXPECT_EQ(LoadResString(IDS_REMOVE_HELP), panel.GetItemText(IDC_TOOLS_REMOVE_HELP));
    EXPECT_EQ(0u, LoadResString(IDS_IMMUNITY_HELP).find("Acquire Immunity:\r\n"));

    const struct {
        UINT control;
        const char* tooltip;
    } buttons[] = {
        {IDC_TOOLS_ACQUIRE_IMMUNITY, "Disable AUTORUN of USB drive and create directories named AUTORUN.INF on your "
                                     "hard drives and USB drives."},
        {IDC_TOOLS_CANCEL_IMMUNITY, "Enable AUTORUN of USB drive and delete directories AUTORUN.INF"},
        {IDC_TOOLS_SAFELY_REMOVE, "Enable you to remove USB disk safely"},
    };
    for (const auto& b : buttons) {
        HWND button = panel.GetDlgItem(b.control);
        auto* image = static_cast<CImageButton*>(CSubclassedWindow::FromHandle(button));
        ASSERT_NE(nullptr, image) << b.control << " is not an image button";
        EXPECT_EQ(ImageAbove, image->ImagePlacement()) << b.control;
        EXPECT_NE(nullptr, image->HoverCursor()) << b.control;
        ASSERT_NE(nullptr, image->TooltipWindow()) << b.control;
        EXPECT_EQ(b.tooltip, TooltipText(image->TooltipWindow(), button)) << b.control;
        EXPECT_EQ(static_cast<LONG>(BS_OWNERDRAW), GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) << b.control;
    }
    DestroyWindow(host);
}

} // namespace
