// How a file is judged: by its name's extension and its attributes only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// 0 = not classified; 1..27 in the order the extensions are tested.
enum ExtensionCode {
    ExtNone = 0,
    ExtExe = 1, ExtCom, ExtDll, ExtHtml, ExtBat, ExtInf, ExtPif, ExtReg, ExtLnk,
    ExtScr = 10, ExtAsp, ExtJs, ExtVbs, ExtWsf, ExtWsh, ExtAspx, ExtHtt, ExtHtm,
    ExtHtx = 19, ExtJsp, ExtJse, ExtWs, ExtWsc, ExtVb, ExtVbe, ExtCmd, ExtHta,
    ExtLast = ExtHta
};

// The longest path handed to the file system: MAX_PATH less the terminator.
constexpr size_t MaxPathLength = MAX_PATH - 1;

// True when `a` and `b` are both exactly `length` bytes long and match byte
// by byte, a byte matching one equal to it or differing by 32 (bytes taken as
// signed 8-bit values, so ASCII letters match regardless of case and an
// underscore matches a question mark). Reads at most length + 1 bytes of each.
bool SameTextNoCase(const char* a, const char* b, size_t length);

// The extension code of a path text of `length` bytes with the given file
// attributes (INVALID_FILE_ATTRIBUTES when they cannot be read).
ExtensionCode ClassifyPathText(const char* path, size_t length, DWORD attributes);

// Reads the attributes of `path` once and classifies it. `path` lies in a
// buffer of `bufferLength` bytes; a path with no terminator inside the buffer,
// or longer than MaxPathLength, is not classified (0) and the file system is
// not asked.
ExtensionCode ClassifyExtension(const char* path, size_t bufferLength);
ExtensionCode ClassifyExtension(const std::string& path);
template <size_t N>
ExtensionCode ClassifyExtension(const char (&path)[N])
{
    return ClassifyExtension(path, N);
}

// Root directory of a drive: every ".inf", and every hidden file of any other
// classified extension. Verdict "Risky".
bool IsRootThreat(ExtensionCode code, DWORD attributes);
// Every folder of a drive: script-like extensions always; .exe, .dll, .html,
// .inf, .aspx and .htm only when hidden. Verdict "Suspicious".
bool IsDeepScanThreat(ExtensionCode code, DWORD attributes);
// Among a process's modules, the first that is an ".exe" is its program file.
inline bool IsExecutableModule(ExtensionCode code)
{
    return code == ExtExe;
}

// "No threat found" or "<count> threats found", from the string table.
std::string ThreatSummaryText(int count);
