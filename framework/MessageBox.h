// The application message box: every message the program shows the user goes
// through here, so that tests can answer in place of the user.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Shows `text` with the application's name as caption. `type` is MB_OK or
// MB_OKCANCEL (plus an icon if wanted); without an icon, the exclamation mark
// is shown. Returns IDOK, IDCANCEL, ...
int AppMessageBox(const std::string& text, UINT type = MB_OK);
int AppMessageBox(UINT stringId, UINT type = MB_OK);

// What a test installs to answer in place of the user: gets the text and the
// complete type (icon included), returns the button pressed.
using MessageBoxAnswerer = std::function<int(const std::string& text, UINT type)>;

// Installs `answerer` (an empty function restores the real message box) and
// returns the one installed before.
MessageBoxAnswerer SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

// The type AppMessageBox passes on for `type`: the default icon added.
UINT CompleteMessageBoxType(UINT type);
