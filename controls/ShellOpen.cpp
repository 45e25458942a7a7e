#include "controls/ShellOpen.h"

#include <shellapi.h>

#include <utility>

namespace {

ShellOpenHook& OpenHook()
{
    static ShellOpenHook hook;
    return hook;
}

CommandRunHook& RunHook()
{
    static CommandRunHook hook;
    return hook;
}

} // namespace

ShellOpenHook SetShellOpenHook(ShellOpenHook hook)
{
    ShellOpenHook previous = std::move(OpenHook());
    OpenHook() = std::move(hook);
    return previous;
}

CommandRunHook SetCommandRunHook(CommandRunHook hook)
{
    CommandRunHook previous = std::move(RunHook());
    RunHook() = std::move(hook);
    return previous;
}

INT_PTR ShellOpen(const std::string& address, int showCommand)
{
    if (OpenHook())
        return OpenHook()(address, showCommand);
    HINSTANCE result = ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, showCommand);
    return reinterpret_cast<INT_PTR>(result);
}

void ShellOpenQuietly(const std::string& address, int showCommand)
{
    if (OpenHook()) {
        OpenHook()(address, showCommand);
        return;
    }
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = address.c_str();
    info.nShow = showCommand;
    ShellExecuteExA(&info);
}

UINT RunCommandLine(const std::string& commandLine, int showCommand)
{
    if (RunHook())
        return RunHook()(commandLine, showCommand);
    return WinExec(commandLine.c_str(), static_cast<UINT>(showCommand));
}
