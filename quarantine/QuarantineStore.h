// The quarantine store: scrambled copies of deleted threats in the folder
// "quarantine" beside the program, each with the path it came from, so that it
// can be put back.
//
// A quarantine file ("<name>.tw") holds the signature, the origin path, CR LF,
// then every byte of the source increased by ScrambleShift modulo 256. The
// header ends at the first CR LF: a path holds neither byte.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

constexpr char QuarantineSignature[] = "tarnwick";
constexpr size_t QuarantineSignatureLength = sizeof QuarantineSignature - 1;
// Moves every ASCII byte but 0x7F into the upper half, so a scrambled script
// holds no text; not its own inverse, so the two directions cannot be mixed up.
constexpr BYTE ScrambleShift = 0x81;

// Room of the path buffers of the store (origin, quarantine folder and file,
// file name part): 255 characters and the terminator.
constexpr size_t QuarantinePathLength = 256;
// Room of the program folder buffer.
constexpr size_t ProgramFolderLength = MAX_PATH;
// Bytes moved per read and write: large enough to copy at disk speed.
constexpr DWORD ScrambleBlockLength = 1 << 20;
// Highest number tried for a free quarantine name ("name(9999).tw").
constexpr unsigned QuarantineNumberLimit = 9999;

// Result of ScrambleFile. When a copy fails after the target was created, the
// partial target is removed again.
enum ScrambleResult {
    ScrambleWritten = 1,
    ScrambleMissingPath = 2,
    // Quarantining: the plain file cannot be opened or read. Restoring: it
    // cannot be created (it exists, or its folder is missing) or written.
    ScramblePlainFailed = 3,
    // Quarantining: the quarantine file cannot be created (it exists, or its
    // folder is missing) or written. Restoring: it cannot be opened or read.
    ScrambleQuarantineFailed = 4,
    // Restoring: the file has no readable header. Code 5 is not used: every
    // file is wrapped, one that begins with the signature as well.
    ScrambleNoSignature = 6,
};

enum class ScrambleDirection { Quarantining, Restoring };

// One copy between a plain file and a quarantine file. Neither target is ever
// replaced: both are created only if new. Quarantining opens the plain file
// without sharing and writes `plainPath` as the origin.
ScrambleResult ScrambleFile(const char* plainPath, const char* quarantinePath, ScrambleDirection direction);

// Moves `path` into the quarantine: writes the copy under the first free name
// of "<name>.tw", "<name>(2).tw", "<name>(3).tw", ... and deletes the file.
// True when the file was deleted; a file of which no copy was written stays.
// The second form works in `programFolder` (with trailing backslash) instead
// of the running program's folder.
bool QuarantineFile(const char* path);
bool QuarantineFile(const char* path, const char* programFolder);

// Restores a quarantine file to its origin, or onto the desktop under the
// origin's file name when the origin cannot be created. Returns 1 (origin),
// 2 (desktop) or 0 (neither). Never replaces a file; the quarantine file stays
// as it is. The second form uses `desktopFolder` (null: no desktop).
int RestoreQuarantined(const char* quarantinePath);
int RestoreQuarantined(const char* quarantinePath, const char* desktopFolder);

// Copies the stored origin into `origin` (QuarantinePathLength bytes). False,
// with `origin` untouched, unless the file begins with the signature, an origin
// that fits the buffer and CR LF.
bool ReadQuarantineOrigin(const char* quarantinePath, char* origin);

// The program folder followed by "quarantine\" in `folder`
// (QuarantinePathLength bytes), creating the folder when it is missing. The
// second form takes the program folder (with trailing backslash).
bool GetQuarantineFolder(char* folder);
bool GetQuarantineFolder(const char* programFolder, char* folder);

// The folder of the running executable with a trailing backslash, in `folder`
// (ProgramFolderLength bytes).
bool GetProgramFolder(char* folder);

// The text after the last backslash of `path`, in `name` (QuarantinePathLength
// bytes); false when the path has no backslash or the name does not fit.
bool GetFileNamePart(const char* path, char* name);

// The quarantine file name number `number` (1: "<name>.tw", n > 1:
// "<name>(n).tw") in `folder`, written to `path` (QuarantinePathLength bytes);
// false when it does not fit.
bool MakeQuarantinePath(const char* folder, const char* name, unsigned number, char* path);

struct QuarantineEntry {
    std::string origin;
    std::string path;
};

// The entries of the quarantine folder `folder` (with trailing backslash): its
// "*.tw" files whose origin can be read, in the order the file system lists them.
std::vector<QuarantineEntry> ListQuarantine(const char* folder);
