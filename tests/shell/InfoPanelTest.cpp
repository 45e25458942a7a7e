#include "framework/Strings.h"
#include "shell/InfoPanel.h"
#include "shell/InfoPanelRes.h"

#include <gtest/gtest.h>

namespace {

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

TEST(InfoPanel, ShowsTheShieldStateAndIgnoresEnterAndEscape)
{
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                                nullptr);
    CInfoPanel panel;
    ASSERT_TRUE(panel.Create(host));
    panel.ShowWindow(SW_SHOW);
    EXPECT_EQ(LoadResString(IDS_KEY_FEATURES), panel.GetItemText(IDC_INFO_FEATURES));
    EXPECT_EQ("Active", panel.GetItemText(IDC_INFO_STATE));
    for (UINT command : {IDOK, IDCANCEL}) {
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        EXPECT_TRUE(IsWindowVisible(panel)) << command;
        EXPECT_TRUE(IsWindow(host)) << command;
    }
    DestroyWindow(host);
}

TEST(NoticeDlg, AnnouncesTheShieldAndHidesAfterThreeSeconds)
{
    CNoticeDlg notice;
    ASSERT_TRUE(notice.Create());
    EXPECT_EQ(CDialog::Mode::Modeless, notice.GetMode());
    EXPECT_EQ("Resident Shield is active", notice.GetItemText(IDC_NOTICE_TEXT));
    EXPECT_EQ("Active", notice.GetItemText(IDC_NOTICE_STATE));
    notice.ShowWindow(SW_SHOW);
    Pump(2000);
    EXPECT_TRUE(IsWindowVisible(notice)) << "hidden before its three seconds";
    Pump(1800);
    EXPECT_FALSE(IsWindowVisible(notice));
    EXPECT_TRUE(IsWindow(notice)) << "the notice hides, it is not destroyed";
}

TEST(NoticeDlg, EscapeHidesItEarly)
{
    CNoticeDlg notice;
    ASSERT_TRUE(notice.Create());
    notice.ShowWindow(SW_SHOW);
    SendMessageA(notice, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(notice));
    EXPECT_TRUE(IsWindow(notice));
}

} // namespace
