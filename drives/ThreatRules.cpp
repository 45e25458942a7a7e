#include "drives/ThreatRules.h"

#include "drives/DrivesRes.h"
#include "framework/Strings.h"

#include <cstring>

namespace {

const char* const Extensions[ExtLast] = {
    ".exe", ".com", ".dll", ".html", ".bat", ".inf", ".pif", ".reg", ".lnk",
    ".scr", ".asp", ".js", ".vbs", ".wsf", ".wsh", ".aspx", ".htt", ".htm",
    ".htx", ".jsp", ".jse", ".ws", ".wsc", ".vb", ".vbe", ".cmd", ".hta",
};

// At most this many characters from the last dot are compared.
constexpr size_t ExtensionCopyLength = 9;

int SignedByte(char c)
{
    const int value = static_cast<unsigned char>(c);
    return value >= 0x80 ? value - 0x100 : value;
}

bool HasAttribute(DWORD attributes, DWORD attribute)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

} // namespace

bool SameTextNoCase(const char* a, const char* b, size_t length)
{
    if (a == nullptr || b == nullptr)
        return false;
    if (strnlen(a, length + 1) != length || strnlen(b, length + 1) != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        const int x = SignedByte(a[i]);
        const int y = SignedByte(b[i]);
        if (x != y && x != y - 32 && x != y + 32)
            return false;
    }
    return true;
}

ExtensionCode ClassifyPathText(const char* path, size_t length, DWORD attributes)
{
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ExtNone;
    // The last dot of the whole path, not looking at the very first character.
    size_t dot = 0;
    for (size_t i = length; i-- > 1;) {
        if (path[i] == '.') {
            dot = i;
            break;
        }
    }
    if (dot == 0)
        return ExtNone;
    char extension[ExtensionCopyLength + 1] = {};
    const size_t tail = length - dot;
    std::memcpy(extension, path + dot, tail < ExtensionCopyLength ? tail : ExtensionCopyLength);
    for (int code = ExtExe; code <= ExtLast; ++code) {
        const char* candidate = Extensions[code - 1];
        if (SameTextNoCase(extension, candidate, std::strlen(candidate)))
            return static_cast<ExtensionCode>(code);
    }
    return ExtNone;
}

ExtensionCode ClassifyExtension(const char* path, size_t bufferLength)
{
    if (path == nullptr)
        return ExtNone;
    const size_t length = strnlen(path, bufferLength);
    if (length == bufferLength || length > MaxPathLength)
        return ExtNone;
    return ClassifyPathText(path, length, GetFileAttributesA(path));
}

ExtensionCode ClassifyExtension(const std::string& path)
{
    return ClassifyExtension(path.c_str(), path.size() + 1);
}

bool IsRootThreat(ExtensionCode code, DWORD attributes)
{
    if (code == ExtInf)
        return true;
    return code != ExtNone && HasAttribute(attributes, FILE_ATTRIBUTE_HIDDEN) &&
           !HasAttribute(attributes, FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDeepScanThreat(ExtensionCode code, DWORD attributes)
{
    switch (code) {
    case ExtNone:
        return false;
    case ExtExe:
    case ExtDll:
    case ExtHtml:
    case ExtInf:
    case ExtAspx:
    case ExtHtm:
        return HasAttribute(attributes, FILE_ATTRIBUTE_HIDDEN);
    default:
        return true;
    }
}

std::string ThreatSummaryText(int count)
{
    if (count == 0)
        return LoadResString(IDS_NO_THREAT_FOUND);
    return FormatResString(IDS_THREATS_FOUND, count);
}
