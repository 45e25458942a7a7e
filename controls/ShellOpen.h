// Starting what a click asks for: addresses opened by the shell and command
// lines run directly. Both go through hooks so that tests can see what would
// be started instead of starting it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Gets the address and show mode; returns what the shell would (above 32 is success).
using ShellOpenHook = std::function<INT_PTR(const std::string& address, int showCommand)>;
// Gets the command line and show mode; returns what WinExec would.
using CommandRunHook = std::function<UINT(const std::string& commandLine, int showCommand)>;

// Install a hook (an empty function restores the real call); returns the one before.
ShellOpenHook SetShellOpenHook(ShellOpenHook hook);
CommandRunHook SetCommandRunHook(CommandRunHook hook);

// ShellExecuteA with the verb "open"; the shell's result code.
INT_PTR ShellOpen(const std::string& address, int showCommand);
// ShellExecuteExA with the verb "open" and no error interface from the shell.
void ShellOpenQuietly(const std::string& address, int showCommand);
// WinExec of `commandLine`; its result code.
UINT RunCommandLine(const std::string& commandLine, int showCommand);
