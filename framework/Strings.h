// Texts from the string table, looked up by number.
#pragma once

#include <windows.h>

#include <string>

// The string resource `id` of `module` (the running program when null), in full
// whatever its length; empty when the table has no such entry.
std::string LoadResString(UINT id, HINSTANCE module = nullptr);

// printf-style formatting into a std::string (the resource texts carry %d, %s).
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The string resource `id` used as the format (its texts are the program's own).
std::string FormatResString(UINT id, ...);
