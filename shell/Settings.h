// The program's two settings under HKEY_LOCAL_MACHINE\SOFTWARE\tarnwick.
#pragma once

#include <windows.h>

#include <string>

// Settings are read into a buffer of this size; a longer value counts as missing.
constexpr DWORD SettingBufferLength = 100;

// Opens or creates the settings key; null when that fails.
HKEY OpenSettingsKey();
// The string value `name`; false when it is missing or does not fit.
bool ReadSetting(HKEY key, const char* name, std::string* value);
bool WriteSetting(HKEY key, const char* name, const std::string& value);

// The number a "lastcheck" text starts with: leading blanks, an optional
// sign, decimal digits; 0 when there are none.
int LeadingNumber(const std::string& text);
// Whether a check is due on day `today` of the month, given the stored text
// (null when missing or unreadable). Only days of the month are compared.
bool UpdateCheckDueOn(int today, const std::string* lastCheck);

// True when an update check is due; then today's day is recorded.
bool IsUpdateCheckDue(HKEY key);
// Asks once ever whether USB autorun should be switched off.
void AskDisableAutorunOnce(HKEY key);

// Shows `window` at the right edge of the screen, its bottom on the taskbar's
// top edge. Without a taskbar nothing happens.
void PlaceAboveTaskbar(HWND window);
