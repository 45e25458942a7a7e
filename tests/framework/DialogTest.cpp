#include "framework/Dialog.h"
#include "framework/Subclass.h"
#include "framework/TestDialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_TEST_APP = WM_APP + 1;
constexpr UINT NM_TEST_CODE = 0x1234;

class CTestDialog : public CDialog {
public:
    explicit CTestDialog(UINT templateId) : CDialog(templateId) {}

    std::vector<std::string> calls;
    std::string text;
    std::string typedOnInit;
    UINT commandOnInit = 0;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (!typedOnInit.empty())
            SetItemText(IDC_TEST_EDIT, typedOnInit);
        if (commandOnInit != 0)
            PostMessageA(*this, WM_COMMAND, commandOnInit, 0);
        return TRUE;
    }
    void DoDataExchange(CDataExchange& dx) override { DdxText(dx, IDC_TEST_EDIT, text); }

    void OnAction() { calls.push_back("action"); }
    void OnRange(UINT id) { calls.push_back("range " + std::to_string(id)); }
    void OnTestNotify(NMHDR*, LRESULT* result)
    {
        calls.push_back("notify");
        *result = 42;
    }
    LRESULT OnTestApp(WPARAM wParam, LPARAM)
    {
        calls.push_back("app " + std::to_string(wParam));
        return 7;
    }

    DECLARE_MESSAGE_TABLE()
};

// clang-format off
BEGIN_MESSAGE_TABLE(CTestDialog, CDialog)
    ON_COMMAND(IDC_TEST_ACTION, OnAction)
    ON_COMMAND_RANGE(IDC_TEST_RANGE_FIRST, IDC_TEST_RANGE_LAST, OnRange)
    ON_NOTIFY(NM_TEST_CODE, IDC_TEST_ACTION, OnTestNotify)
    ON_MESSAGE(WM_TEST_APP, OnTestApp)
END_MESSAGE_TABLE()
// clang-format on

class CDerivedDialog : public CTestDialog {
public:
    CDerivedDialog() : CTestDialog(IDD_TEST_POPUP) {}

private:
    void OnDerivedAction() { calls.push_back("derived action"); }

    DECLARE_MESSAGE_TABLE()
};

// clang-format off
BEGIN_MESSAGE_TABLE(CDerivedDialog, CTestDialog)
    ON_COMMAND(IDC_TEST_ACTION, OnDerivedAction)
END_MESSAGE_TABLE()
// clang-format on

LRESULT SendCommand(HWND dialog, UINT id, UINT code = BN_CLICKED)
{
    return SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

LRESULT SendNotify(HWND dialog, UINT id, UINT code)
{
    NMHDR header = {GetDlgItem(dialog, id), id, code};
    SendMessageA(dialog, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    return GetWindowLongPtrA(dialog, DWLP_MSGRESULT);
}

TEST(DialogModal, OkAndCancelEndTheModalLoop)
{
    for (UINT command : {IDOK, IDCANCEL}) {
        CTestDialog dialog(IDD_TEST_POPUP);
        dialog.commandOnInit = command;
        EXPECT_EQ(static_cast<INT_PTR>(command), dialog.DoModal());
        EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    }
}

TEST(DialogModal, OkSavesTheControlsCancelDoesNot)
{
    for (UINT command : {IDOK, IDCANCEL}) {
        CTestDialog dialog(IDD_TEST_POPUP);
        dialog.text = "before";
        dialog.typedOnInit = "typed";
        dialog.commandOnInit = command;
        dialog.DoModal();
        EXPECT_EQ(command == IDOK ? "typed" : "before", dialog.text);
    }
}

// Hides itself right after initialisation, then reports whether it stayed hidden.
class CSelfHidingDialog : public CDialog {
public:
    CSelfHidingDialog() : CDialog(IDD_TEST_POPUP) {}
    bool visibleAfterHiding = true;
    bool ownerEnabledMeanwhile = true;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::ShowWindow(*this, SW_SHOW); // as a template with WS_VISIBLE would be
        PostMessageA(*this, WM_TEST_APP, 0, 0);
        return TRUE;
    }

private:
    LRESULT OnHide(WPARAM, LPARAM)
    {
        ::ShowWindow(*this, SW_HIDE);
        SetTimer(*this, 1, 300, nullptr);
        return 0;
    }
    LRESULT OnTimer(WPARAM, LPARAM)
    {
        KillTimer(*this, 1);
        visibleAfterHiding = IsWindowVisible(*this) != FALSE;
        ownerEnabledMeanwhile = IsWindowEnabled(GetWindow(*this, GW_OWNER)) != FALSE;
        EndDialog(IDOK);
        return 0;
    }

    DECLARE_MESSAGE_TABLE()
};

// clang-format off
BEGIN_MESSAGE_TABLE(CSelfHidingDialog, CDialog)
    ON_MESSAGE(WM_TEST_APP, OnHide)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_TABLE()
// clang-format on

// A tray-resident main window hides itself at start-up and must stay hidden,
// with its owner disabled while it runs and enabled again afterwards.
TEST(DialogModal, WindowHiddenDuringTheLoopStaysHidden)
{
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CSelfHidingDialog dialog;
    EXPECT_EQ(IDOK, dialog.DoModal(owner));
    EXPECT_FALSE(dialog.visibleAfterHiding);
    EXPECT_FALSE(dialog.ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(DialogModal, MissingTemplateFails)
{
    CTestDialog dialog(777);
    EXPECT_EQ(-1, dialog.DoModal());
}

TEST(DialogModeless, OkAndCancelHide)
{
    for (UINT command : {IDOK, IDCANCEL}) {
        CTestDialog dialog(IDD_TEST_POPUP);
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(CDialog::Mode::Modeless, dialog.GetMode());
        dialog.ShowWindow(SW_SHOW);
        SendCommand(dialog, command);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_FALSE(IsWindowVisible(dialog));
    }
}

TEST(DialogChild, OkAndCancelDoNothing)
{
    CTestDialog parent(IDD_TEST_POPUP);
    ASSERT_TRUE(parent.Create());
    parent.ShowWindow(SW_SHOW);
    CTestDialog child(IDD_TEST_CHILD);
    ASSERT_TRUE(child.Create(parent));
    EXPECT_EQ(CDialog::Mode::Child, child.GetMode());
    EXPECT_EQ(static_cast<HWND>(parent), GetParent(child));
    child.ShowWindow(SW_SHOW);
    for (UINT command : {IDOK, IDCANCEL}) {
        SendCommand(child, command);
        EXPECT_TRUE(IsWindowVisible(child)) << command;
    }
    EXPECT_TRUE(IsWindowVisible(parent));
}

TEST(DialogDestructor, DestroysAModelessWindow)
{
    auto dialog = std::make_unique<CTestDialog>(IDD_TEST_POPUP);
    ASSERT_TRUE(dialog->Create());
    HWND hwnd = *dialog;
    dialog.reset();
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(MessageTable, DispatchesEachKindOfEntry)
{
    CTestDialog dialog(IDD_TEST_POPUP);
    ASSERT_TRUE(dialog.Create());
    SendCommand(dialog, IDC_TEST_ACTION);
    SendCommand(dialog, IDC_TEST_ACTION, 1); // accelerator
    SendCommand(dialog, IDC_TEST_ACTION, BN_SETFOCUS); // another code: no entry
    SendCommand(dialog, IDC_TEST_RANGE_FIRST);
    SendCommand(dialog, IDC_TEST_RANGE_LAST);
    EXPECT_EQ(42, SendNotify(dialog, IDC_TEST_ACTION, NM_TEST_CODE));
    SendNotify(dialog, IDC_TEST_RANGE_FIRST, NM_TEST_CODE); // other control: no entry
    SendMessageA(dialog, WM_TEST_APP, 5, 0);
    EXPECT_EQ(7, GetWindowLongPtrA(dialog, DWLP_MSGRESULT));
    const std::vector<std::string> expected = {"action", "action", "range 302", "range 304", "notify", "app 5"};
    EXPECT_EQ(expected, dialog.calls);
}

TEST(MessageTable, DerivedEntriesComeFirstAndBaseEntriesStillApply)
{
    CDerivedDialog dialog;
    ASSERT_TRUE(dialog.Create());
    SendCommand(dialog, IDC_TEST_ACTION);
    SendMessageA(dialog, WM_TEST_APP, 1, 0);
    const std::vector<std::string> expected = {"derived action", "app 1"};
    EXPECT_EQ(expected, dialog.calls);
}

TEST(DataExchange, MembersToControlsAndBack)
{
    CTestDialog dialog(IDD_TEST_POPUP);
    dialog.text = "first";
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ("first", dialog.GetItemText(IDC_TEST_EDIT));
    dialog.SetItemText(IDC_TEST_EDIT, "second");
    dialog.UpdateData(true);
    EXPECT_EQ("second", dialog.text);
    dialog.text = "third";
    dialog.UpdateData(false);
    EXPECT_EQ("third", dialog.GetItemText(IDC_TEST_EDIT));
}

class CRecordingButton : public CSubclassedWindow {
public:
    bool consumeClicks = false;
    std::vector<std::string> seen;

    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM, LRESULT*) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            seen.push_back("reflected click");
            return consumeClicks;
        }
        return false;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TEST_APP)
            seen.push_back("own message");
        return CSubclassedWindow::WindowProc(message, wParam, lParam);
    }
};

TEST(Subclass, ControlSeesItsMessagesAndMayConsumeItsNotifications)
{
    for (bool consume : {false, true}) {
        CTestDialog dialog(IDD_TEST_POPUP);
        ASSERT_TRUE(dialog.Create());
        CRecordingButton button;
        button.consumeClicks = consume;
        ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_ACTION, dialog));
        EXPECT_EQ(&button, CSubclassedWindow::FromHandle(dialog.GetDlgItem(IDC_TEST_ACTION)));
        EXPECT_FALSE(CRecordingButton().SubclassDlgItem(IDC_TEST_ACTION, dialog)); // one object per control
        SendMessageA(button, WM_TEST_APP, 0, 0);
        SendCommand(dialog, IDC_TEST_ACTION);
        const std::vector<std::string> expected = {"own message", "reflected click"};
        EXPECT_EQ(expected, button.seen);
        EXPECT_EQ(consume ? 0u : 1u, dialog.calls.size()) << "consume " << consume;
    }
}

TEST(Subclass, DetachesWhenTheControlIsDestroyed)
{
    CTestDialog dialog(IDD_TEST_POPUP);
    ASSERT_TRUE(dialog.Create());
    CRecordingButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_TEST_ACTION, dialog));
    DestroyWindow(dialog.GetDlgItem(IDC_TEST_ACTION));
    EXPECT_EQ(nullptr, button.GetSafeHwnd());
}

} // namespace
