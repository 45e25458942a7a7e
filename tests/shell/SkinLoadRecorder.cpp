// A stand-in for the outside skin engine: records each call, one line each,
// in skin-calls.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

void Record(const std::string& line)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(ThisModule(), path, sizeof path);
    std::string log = path;
    log.resize(log.find_last_of('\\') + 1);
    log += "skin-calls.txt";
    if (FILE* file = std::fopen(log.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

} // namespace

extern "C" __declspec(dllexport) void __cdecl InitSkinLoad(unsigned threadId)
{
    Record("InitSkinLoad " + std::to_string(threadId));
}

extern "C" __declspec(dllexport) void __cdecl LoadSkin(const char* path)
{
    Record(std::string("LoadSkin ") + (path != nullptr ? path : "(null)"));
}

extern "C" __declspec(dllexport) void __cdecl ExitSkin()
{
    Record("ExitSkin");
}
