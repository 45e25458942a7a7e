#include "framework/Strings.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string LoadResString(UINT id, HINSTANCE module)
{
    if (module == nullptr)
        module = GetModuleHandleA(nullptr);
    // LoadStringA truncates silently; a result that fills the buffer may have
    // been cut, so grow until the text is shorter than the room given.
    std::vector<char> buffer(256);
    for (;;) {
        const int copied = LoadStringA(module, id, buffer.data(), static_cast<int>(buffer.size()));
        if (copied <= 0)
            return std::string();
        if (static_cast<size_t>(copied) < buffer.size() - 1)
            return std::string(buffer.data(), static_cast<size_t>(copied));
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::string FormatArguments(const char* format, va_list args)
{
    va_list count;
    va_copy(count, args);
    const int length = std::vsnprintf(nullptr, 0, format, count);
    va_end(count);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    return text;
}
#pragma GCC diagnostic pop

} // namespace

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatArguments(format, args);
    va_end(args);
    return text;
}

std::string FormatResString(UINT id, ...)
{
    const std::string format = LoadResString(id);
    va_list args;
    va_start(args, id);
    std::string text = FormatArguments(format.c_str(), args);
    va_end(args);
    return text;
}
