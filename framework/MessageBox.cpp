#include "framework/MessageBox.h"

#include "framework/App.h"
#include "framework/Strings.h"

namespace {

MessageBoxAnswerer& Answerer()
{
    static MessageBoxAnswerer answerer;
    return answerer;
}

HWND MessageBoxOwner()
{
    // The main window's last active pop-up, as long as it is visible; a hidden
    // tray-resident window must not own (and hide) the message box.
    CApplication* app = GetApp();
    HWND main = app != nullptr ? app->MainWindowHandle() : nullptr;
    if (main == nullptr || !IsWindow(main))
        return nullptr;
    HWND popup = GetLastActivePopup(main);
    return IsWindowVisible(popup) ? popup : nullptr;
}

} // namespace

UINT CompleteMessageBoxType(UINT type)
{
    if ((type & MB_ICONMASK) == 0) {
        const UINT buttons = type & MB_TYPEMASK;
        type |= (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? MB_ICONQUESTION : MB_ICONEXCLAMATION;
    }
    return type;
}

int AppMessageBox(const std::string& text, UINT type)
{
    type = CompleteMessageBoxType(type);
    if (Answerer())
        return Answerer()(text, type);
    CApplication* app = GetApp();
    const std::string caption = app != nullptr ? app->AppName() : std::string();
    return MessageBoxA(MessageBoxOwner(), text.c_str(), caption.c_str(), type);
}

int AppMessageBox(UINT stringId, UINT type)
{
    return AppMessageBox(LoadResString(stringId), type);
}

MessageBoxAnswerer SetMessageBoxAnswerer(MessageBoxAnswerer answerer)
{
    MessageBoxAnswerer previous = std::move(Answerer());
    Answerer() = std::move(answerer);
    return previous;
}
