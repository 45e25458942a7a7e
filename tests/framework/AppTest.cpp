#include "framework/App.h"
#include "framework/MessageBox.h"

#include <gtest/gtest.h>

#include "framework/Thread.h"

namespace {

TEST(AppNameFromModulePath, IsFileNameWithoutExtension)
{
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\Program Files\\Thumbfort\\Plugwarden.exe", "Plugwarden"},
        {"C:\\Tools\\copy of app.v2.exe", "copy of app.v2"},
        {"D:\\noextension", "noextension"},
        {"E:\\dir.with.dots\\prog", "prog"},
        {"Plugwarden.EXE", "Plugwarden"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.name, AppNameFromModulePath(c.path)) << c.path;
}

TEST(CApplication, AttachNamesTheApplicationAfterItsFile)
{
    CApplication app;
    app.Attach(GetModuleHandleA(nullptr));
    EXPECT_EQ(&app, GetApp());
    EXPECT_EQ("framework_tests", app.AppName());
}

TEST(CompleteMessageBoxType, AddsTheDefaultIcon)
{
    const struct {
        UINT type;
        UINT expected;
    } cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
        {MB_OK | MB_ICONINFORMATION, MB_OK | MB_ICONINFORMATION},
        {MB_OKCANCEL | MB_ICONSTOP, MB_OKCANCEL | MB_ICONSTOP},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CompleteMessageBoxType(c.type)) << std::hex << c.type;
}

TEST(AppMessageBox, AnswererSeesTextAndTypeAndAnswers)
{
    std::string seenText;
    UINT seenType = 0;
    SetMessageBoxAnswerer([&](const std::string& text, UINT type) {
        seenText = text;
        seenType = type;
        return IDCANCEL;
    });
    EXPECT_EQ(IDCANCEL, AppMessageBox("Do it?", MB_OKCANCEL));
    SetMessageBoxAnswerer(nullptr);
    EXPECT_EQ("Do it?", seenText);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), seenType);
}

// Without an answerer the real message box shows, captioned with the
// application name; a second thread presses its OK button.
TEST(AppMessageBox, RealBoxHasTheApplicationNameAsCaption)
{
    CApplication app;
    app.Attach(GetModuleHandleA(nullptr));
    struct Presser {
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        bool found = false;
    } presser;
    BeginWorkerThread(
        [](void* param) -> UINT {
            auto* p = static_cast<Presser*>(param);
            for (int i = 0; i < 200 && !p->found; ++i) {
                HWND box = FindWindowA("#32770", "framework_tests");
                if (box != nullptr) {
                    p->found = true;
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                }
                Sleep(50);
            }
            SetEvent(p->done);
            return 0;
        },
        &presser);
    const int answer = AppMessageBox("Hello", MB_OKCANCEL);
    WaitForSingleObject(presser.done, 20000);
    CloseHandle(presser.done);
    EXPECT_TRUE(presser.found);
    EXPECT_EQ(IDOK, answer);
}

} // namespace
