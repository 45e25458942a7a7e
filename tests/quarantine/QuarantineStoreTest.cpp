#include "quarantine/QuarantineStore.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <thread>

namespace {

const std::string Missing = "<missing>";

std::string Content(const std::string& path)
{
    std::string content;
    return ReadTestFile(path, &content) ? content : Missing;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Shifted(const std::string& plain)
{
    std::string shifted = plain;
    for (char& c : shifted)
        c = static_cast<char>(static_cast<BYTE>(c) + ScrambleShift);
    return shifted;
}

std::string Header(const std::string& origin)
{
    return std::string(QuarantineSignature) + origin + "\r\n";
}

std::string EveryByteValue(size_t rounds)
{
    std::string bytes;
    for (size_t r = 0; r < rounds; ++r)
        for (int value = 0; value < 256; ++value)
            bytes += static_cast<char>(value);
    return bytes;
}

// A folder layout per test: the program folder (whose "quarantine" subfolder
// the store uses), a stand-in USB drive and a desktop.
class QuarantineStoreTest : public testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(CreateDirectoryA(program.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(usb.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(desktop.c_str(), nullptr));
    }

    std::vector<QuarantineEntry> Entries() const { return ListQuarantine(quarantine.c_str()); }

    TempFolder temp;
    const std::string program = temp / "program\\";
    const std::string quarantine = program + "quarantine\\";
    const std::string usb = temp / "usb\\";
    const std::string desktop = temp / "desktop";
};

TEST_F(QuarantineStoreTest, WritesSignatureOriginLineEndAndShiftedContentThenDeletesSource)
{
    const std::string source = usb + "autorun.inf";
    const std::string content = "[autorun]\r\nopen=run.exe\r\n\x7F\xFF";
    ASSERT_TRUE(WriteTestFile(source, content, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(QuarantineFile(source.c_str(), program.c_str()));

    EXPECT_FALSE(Exists(source));
    const std::string stored = Content(quarantine + "autorun.inf.tw");
    EXPECT_EQ("tarnwick" + source + "\r\n" + Shifted(content), stored);
    // '[' 0x5B, 0x7F and 0xFF as stored.
    EXPECT_EQ("\xDC", stored.substr(Header(source).size(), 1));
    EXPECT_EQ(std::string("\x00\x80", 2), stored.substr(stored.size() - 2));
}

struct RoundTripCase {
    const char* name;
    std::string content;
};

TEST_F(QuarantineStoreTest, QuarantinedFileRestoresByteForByte)
{
    const RoundTripCase cases[] = {
        {"empty.inf", ""},
        {"bytes.bin", EveryByteValue(3)},
        // The top values again in the last eight-byte word and the last bytes.
        {"odd.bin", EveryByteValue(1) + EveryByteValue(1).substr(232) + "\xFF\x80\x7F"},
        // Begins like a quarantine file: still wrapped, so the drive loses it.
        {"signature.exe", "tarnwick"},
        {"fakeheader.exe", "tarnwickC:\\elsewhere.exe\r\n" + EveryByteValue(1)},
        // Crosses block boundaries.
        {"large.dat", EveryByteValue(2 * ScrambleBlockLength / 256 + 1) + "tail"},
    };
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = usb + c.name;
        const std::string quarantined = quarantine + c.name + ".tw";
        ASSERT_TRUE(WriteTestFile(source, c.content));

        ASSERT_TRUE(QuarantineFile(source.c_str(), program.c_str()));
        EXPECT_FALSE(Exists(source));
        const std::string stored = Content(quarantined);
        EXPECT_EQ(Header(source).size() + c.content.size(), stored.size());
        char origin[QuarantinePathLength] = {};
        ASSERT_TRUE(ReadQuarantineOrigin(quarantined.c_str(), origin));
        EXPECT_EQ(source, origin);

        EXPECT_EQ(1, RestoreQuarantined(quarantined.c_str(), desktop.c_str()));
        EXPECT_TRUE(Content(source) == c.content) << "restored " << Content(source).size() << " bytes of "
                                                  << c.content.size();
        EXPECT_TRUE(Content(quarantined) == stored) << "the restore changed the quarantine file";
    }
}

TEST_F(QuarantineStoreTest, SameNameTakesTheNextFreeNameAndEachRestoresToItsOrigin)
{
    const char* const drives[] = {"E\\", "F\\", "G\\"};
    const char* const names[] = {"autorun.inf.tw", "autorun.inf(2).tw", "autorun.inf(3).tw"};
    for (const char* drive : drives) {
        const std::string folder = usb + drive;
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        ASSERT_TRUE(WriteTestFile(folder + "autorun.inf", std::string("from ") + drive));
        ASSERT_TRUE(QuarantineFile((folder + "autorun.inf").c_str(), program.c_str())) << drive;
    }
    for (size_t i = 0; i < 3; ++i) {
        char origin[QuarantinePathLength] = {};
        EXPECT_TRUE(ReadQuarantineOrigin((quarantine + names[i]).c_str(), origin)) << names[i];
        EXPECT_EQ(usb + drives[i] + "autorun.inf", origin) << names[i];
    }
    EXPECT_EQ(3u, Entries().size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(1, RestoreQuarantined((quarantine + names[i]).c_str(), desktop.c_str())) << names[i];
        EXPECT_EQ(std::string("from ") + drives[i], Content(usb + drives[i] + "autorun.inf"));
    }
}

TEST_F(QuarantineStoreTest, ConcurrentQuarantinesOfTheSameNameKeepEveryFile)
{
    constexpr int Count = 8;
    std::vector<std::string> sources;
    for (int i = 0; i < Count; ++i) {
        const std::string folder = usb + std::to_string(i) + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        sources.push_back(folder + "autorun.inf");
        ASSERT_TRUE(WriteTestFile(sources.back(), "drive " + std::to_string(i)));
    }
    // The quarantine folder does not exist yet: the threads also race to create it.
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool results[Count] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < Count; ++i)
        threads.emplace_back([&, i] {
            WaitForSingleObject(start, INFINITE);
            results[i] = QuarantineFile(sources[i].c_str(), program.c_str());
        });
    SetEvent(start);
    for (std::thread& t : threads)
        t.join();
    CloseHandle(start);

    for (int i = 0; i < Count; ++i)
        EXPECT_TRUE(results[i]) << sources[i];
    std::set<std::string> origins;
    for (const QuarantineEntry& entry : Entries()) {
        origins.insert(entry.origin);
        EXPECT_EQ(1, RestoreQuarantined(entry.path.c_str(), desktop.c_str())) << entry.path;
    }
    EXPECT_EQ(std::set<std::string>(sources.begin(), sources.end()), origins);
    for (int i = 0; i < Count; ++i)
        EXPECT_EQ("drive " + std::to_string(i), Content(sources[i]));
}

struct RefusedCase {
    const char* name;
    // Prepares the case in the test's folders; returns the path to quarantine.
    std::function<std::string(QuarantineStoreTest&, HANDLE* held)> prepare;
};

TEST_F(QuarantineStoreTest, FileWithoutCopyStaysAndReportsFalse)
{
    const std::string content = "[autorun]";
    const RefusedCase cases[] = {
        {"missing file", [&](QuarantineStoreTest& t, HANDLE*) { return t.usb + "absent.inf"; }},
        {"folder", [&](QuarantineStoreTest& t, HANDLE*) {
             CreateDirectoryA((t.usb + "dir.inf").c_str(), nullptr);
             return t.usb + "dir.inf";
         }},
        {"quarantine is a plain file", [&](QuarantineStoreTest& t, HANDLE*) {
             WriteTestFile(t.program + "quarantine", "in the way");
             WriteTestFile(t.usb + "autorun.inf", content);
             return t.usb + "autorun.inf";
         }},
        {"held open by another handle", [&](QuarantineStoreTest& t, HANDLE* held) {
             WriteTestFile(t.usb + "autorun.inf", content);
             *held = CreateFileA((t.usb + "autorun.inf").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
             return t.usb + "autorun.inf";
         }},
        {"quarantine path does not fit", [&](QuarantineStoreTest& t, HANDLE*) {
             // Folder and name fit on their own, together with ".tw" they do not.
             const std::string name = std::string(250 - t.quarantine.size(), 'n') + ".inf";
             WriteTestFile(t.usb + name, content);
             return t.usb + name;
         }},
        {"origin does not fit the header", [&](QuarantineStoreTest& t, HANDLE*) {
             const std::string folder = t.usb + std::string(200, 'd') + "\\";
             CreateDirectoryA(folder.c_str(), nullptr);
             const std::string path = folder + std::string(256 - folder.size(), 'n');
             WriteTestFile(path, content);
             return path;
         }},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        QuarantineStoreTest& t = *this;
        HANDLE held = INVALID_HANDLE_VALUE;
        const std::string source = c.prepare(t, &held);
        const bool existed = Exists(source);

        EXPECT_FALSE(QuarantineFile(source.c_str(), program.c_str()));

        if (existed && !(GetFileAttributesA(source.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
            EXPECT_EQ(content, Content(source));
        }
        EXPECT_EQ(existed, Exists(source));
        EXPECT_EQ(0u, Entries().size());
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(source.c_str());
        RemoveDirectoryA(source.c_str());
        DeleteFileA((program + "quarantine").c_str());
    }
    EXPECT_FALSE(QuarantineFile(nullptr, program.c_str()));
    EXPECT_FALSE(QuarantineFile("", program.c_str()));
}

struct ScrambleCase {
    const char* name;
    ScrambleDirection direction;
    const char* plain;       // relative to the test folder; null: none given
    const char* quarantined; // likewise
    std::function<void(const TempFolder&)> prepare;
    ScrambleResult expected;
};

TEST(ScrambleFile, ResultCodes)
{
    const auto Q = ScrambleDirection::Quarantining;
    const auto R = ScrambleDirection::Restoring;
    const auto plainFile = [](const TempFolder& t) { WriteTestFile(t / "plain.inf", "plain"); };
    const auto quarantineFile = [](const TempFolder& t) {
        WriteTestFile(t / "q.tw", Header("E:\\plain.inf") + Shifted("plain"));
    };
    const auto both = [&](const TempFolder& t) {
        plainFile(t);
        quarantineFile(t);
    };
    const auto nothing = [](const TempFolder&) {};
    const ScrambleCase cases[] = {
        {"quarantine: written", Q, "plain.inf", "q.tw", plainFile, ScrambleWritten},
        {"quarantine: no plain path", Q, nullptr, "q.tw", plainFile, ScrambleMissingPath},
        {"quarantine: no quarantine path", Q, "plain.inf", nullptr, plainFile, ScrambleMissingPath},
        {"quarantine: plain file missing", Q, "plain.inf", "q.tw", nothing, ScramblePlainFailed},
        {"quarantine: quarantine file exists", Q, "plain.inf", "q.tw", both, ScrambleQuarantineFailed},
        {"quarantine: quarantine folder missing", Q, "plain.inf", "none\\q.tw", plainFile,
         ScrambleQuarantineFailed},
        {"restore: written", R, "plain.inf", "q.tw", quarantineFile, ScrambleWritten},
        {"restore: no plain path", R, nullptr, "q.tw", quarantineFile, ScrambleMissingPath},
        {"restore: no quarantine path", R, "plain.inf", nullptr, quarantineFile, ScrambleMissingPath},
        {"restore: quarantine file missing", R, "plain.inf", "q.tw", nothing, ScrambleQuarantineFailed},
        {"restore: plain file exists", R, "plain.inf", "q.tw", both, ScramblePlainFailed},
        {"restore: plain folder missing", R, "none\\plain.inf", "q.tw", quarantineFile, ScramblePlainFailed},
        {"restore: no signature", R, "plain.inf", "q.tw",
         [](const TempFolder& t) { WriteTestFile(t / "q.tw", "Tarnwick" + std::string("E:\\a\r\n")); },
         ScrambleNoSignature},
        {"restore: origin without line end", R, "plain.inf", "q.tw",
         [](const TempFolder& t) { WriteTestFile(t / "q.tw", "tarnwick" + std::string(300, 'a')); },
         ScrambleNoSignature},
    };
    for (const ScrambleCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        c.prepare(t);
        const std::string plain = c.plain ? t / c.plain : "";
        const std::string quarantined = c.quarantined ? t / c.quarantined : "";
        const std::string plainBefore = Content(plain);
        const std::string quarantinedBefore = Content(quarantined);

        EXPECT_EQ(c.expected, ScrambleFile(c.plain ? plain.c_str() : nullptr,
                                           c.quarantined ? quarantined.c_str() : nullptr, c.direction));

        // Failures leave both sides as they were; no partial target remains.
        if (c.expected != ScrambleWritten) {
            EXPECT_EQ(plainBefore, Content(plain));
            EXPECT_EQ(quarantinedBefore, Content(quarantined));
        } else if (c.direction == Q) {
            EXPECT_EQ(Header(plain) + Shifted("plain"), Content(quarantined));
            EXPECT_EQ("plain", Content(plain));
        } else {
            EXPECT_EQ("plain", Content(plain));
            EXPECT_EQ(quarantinedBefore, Content(quarantined));
        }
    }
}

struct PlacementCase {
    const char* name;
    bool originOccupied;
    bool originFolderGone;
    bool desktopOccupied;
    const char* desktopSuffix; // appended to the desktop folder; null: no desktop
    int expected;
};

TEST_F(QuarantineStoreTest, RestoreNeverReplacesAFile)
{
    const PlacementCase cases[] = {
        {"origin free", false, false, false, "", 1},
        {"origin occupied", true, false, false, "", 2},
        {"origin occupied, desktop with backslash", true, false, false, "\\", 2},
        {"drive gone", false, true, false, "", 2},
        {"both occupied", true, false, true, "", 0},
        {"origin occupied, no desktop", true, false, false, nullptr, 0},
    };
    const std::string drive = usb + "E\\";
    const std::string origin = drive + "autorun.inf";
    const std::string onDesktop = desktop + "\\autorun.inf";
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(CreateDirectoryA(drive.c_str(), nullptr));
        ASSERT_TRUE(WriteTestFile(origin, "threat"));
        ASSERT_TRUE(QuarantineFile(origin.c_str(), program.c_str()));
        const std::string quarantined = quarantine + "autorun.inf.tw";
        const std::string stored = Content(quarantined);
        if (c.originOccupied) {
            ASSERT_TRUE(WriteTestFile(origin, "occupant"));
        }
        if (c.originFolderGone) {
            ASSERT_TRUE(RemoveDirectoryA(drive.c_str()));
        }
        if (c.desktopOccupied) {
            ASSERT_TRUE(WriteTestFile(onDesktop, "desk"));
        }
        const std::string desktopFolder = c.desktopSuffix ? desktop + c.desktopSuffix : "";

        EXPECT_EQ(c.expected, RestoreQuarantined(quarantined.c_str(), c.desktopSuffix ? desktopFolder.c_str() : nullptr));

        EXPECT_EQ(c.originFolderGone ? Missing : c.originOccupied ? "occupant" : "threat", Content(origin));
        EXPECT_EQ(c.desktopOccupied ? "desk" : c.expected == 2 ? "threat" : Missing, Content(onDesktop));
        EXPECT_TRUE(stored == Content(quarantined)) << "the restore changed the quarantine file";
        RemoveTree(drive);
        RemoveTree(quarantine);
        DeleteFileA(onDesktop.c_str());
    }
}

struct HeaderCase {
    const char* name;
    std::string bytes;
    bool isEntry;
    std::string origin;
};

TEST_F(QuarantineStoreTest, OnlyAWellFormedHeaderMakesAnEntry)
{
    const std::string longest = "E:\\" + std::string(252, 'a');
    const HeaderCase cases[] = {
        {"plain", Header("E:\\autorun.inf") + Shifted("x"), true, "E:\\autorun.inf"},
        {"line ends in the content", Header("E:\\a.inf") + "\r\n\r\n", true, "E:\\a.inf"},
        {"header only", Header("E:\\empty.inf"), true, "E:\\empty.inf"},
        {"origin of 255 bytes", Header(longest) + "x", true, longest},
        {"origin of 256 bytes", Header(longest + "b"), false, ""},
        {"300-byte origin without CR", "tarnwick" + std::string(300, 'a'), false, ""},
        {"CR without LF", "tarnwickE:\\a.inf\rxx", false, ""},
        {"LF before CR", "tarnwickE:\\a\n.inf\r\n", false, ""},
        {"signature in other case", "TARNWICKE:\\a.inf\r\n", false, ""},
        {"shorter than the signature", "tarn", false, ""},
        {"empty", "", false, ""},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(CreateDirectoryA(quarantine.c_str(), nullptr));
        const std::string path = quarantine + "entry.tw";
        ASSERT_TRUE(WriteTestFile(path, c.bytes));
        struct {
            char origin[QuarantinePathLength];
            char guard[64];
        } buffer;
        std::memset(&buffer, 0x5C, sizeof buffer);

        EXPECT_EQ(c.isEntry, ReadQuarantineOrigin(path.c_str(), buffer.origin));

        EXPECT_EQ(std::string(sizeof buffer.guard, '\x5C'), std::string(buffer.guard, sizeof buffer.guard));
        if (c.isEntry) {
            EXPECT_EQ(c.origin, buffer.origin);
        } else {
            EXPECT_EQ(std::string(sizeof buffer.origin, '\x5C'), std::string(buffer.origin, sizeof buffer.origin))
                << "a failed read wrote the output";
        }
        EXPECT_EQ(c.isEntry ? 1u : 0u, Entries().size());
        if (!c.isEntry) {
            EXPECT_EQ(0, RestoreQuarantined(path.c_str(), desktop.c_str()));
            WIN32_FIND_DATAA data;
            const HANDLE find = FindFirstFileA((desktop + "\\*.*").c_str(), &data);
            int count = 0;
            if (find != INVALID_HANDLE_VALUE) {
                do
                    count += data.cFileName[0] != '.';
                while (FindNextFileA(find, &data));
                FindClose(find);
            }
            EXPECT_EQ(0, count) << "a refused restore created a file";
        }
        EXPECT_EQ(c.bytes, Content(path));
        RemoveTree(quarantine);
    }
    char origin[QuarantinePathLength] = "untouched";
    EXPECT_FALSE(ReadQuarantineOrigin((quarantine + "absent.tw").c_str(), origin));
    EXPECT_FALSE(ReadQuarantineOrigin(nullptr, origin));
    EXPECT_STREQ("untouched", origin);
}

TEST_F(QuarantineStoreTest, ListsOnlyTwFilesWithAHeader)
{
    ASSERT_TRUE(CreateDirectoryA(quarantine.c_str(), nullptr));
    const std::string header = Header("E:\\autorun.inf");
    ASSERT_TRUE(WriteTestFile(quarantine + "good.tw", header));
    ASSERT_TRUE(WriteTestFile(quarantine + "UPPER.TW", Header("F:\\x.exe")));
    ASSERT_TRUE(WriteTestFile(quarantine + "renamed.txt", header));
    ASSERT_TRUE(WriteTestFile(quarantine + "renamed.tw.bak", header));
    ASSERT_TRUE(WriteTestFile(quarantine + "unsigned.tw", "E:\\autorun.inf\r\n"));
    ASSERT_TRUE(CreateDirectoryA((quarantine + "folder.tw").c_str(), nullptr));

    std::set<std::string> listed;
    for (const QuarantineEntry& entry : Entries())
        listed.insert(entry.path + " <- " + entry.origin);
    EXPECT_EQ((std::set<std::string>{quarantine + "good.tw <- E:\\autorun.inf", quarantine + "UPPER.TW <- F:\\x.exe"}),
              listed);
}

TEST(GetFileNamePart, TextAfterTheLastBackslash)
{
    const struct {
        std::string path;
        bool ok;
        std::string name;
    } cases[] = {
        {"E:\\autorun.inf", true, "autorun.inf"},
        {"E:\\dir\\sub\\run.exe", true, "run.exe"},
        {"E:\\dir\\", true, ""},
        {"autorun.inf", false, ""},
        {"", false, ""},
        {"E:/dir/run.exe", false, ""},
        {"E:\\" + std::string(255, 'n'), true, std::string(255, 'n')},
        {"E:\\" + std::string(256, 'n'), false, ""},
    };
    for (const auto& c : cases) {
        char name[QuarantinePathLength] = "untouched";
        EXPECT_EQ(c.ok, GetFileNamePart(c.path.c_str(), name)) << c.path;
        EXPECT_EQ(c.ok ? c.name : "untouched", name) << c.path;
    }
}

TEST(MakeQuarantinePath, NumberedFreeNames)
{
    const std::string folder = "C:\\Tools\\quarantine\\";
    const struct {
        std::string name;
        unsigned number;
        bool ok;
        std::string path;
    } cases[] = {
        {"autorun.inf", 1, true, folder + "autorun.inf.tw"},
        {"autorun.inf", 2, true, folder + "autorun.inf(2).tw"},
        {"autorun.inf", 10, true, folder + "autorun.inf(10).tw"},
        {"autorun.inf", 0, false, ""},
        {std::string(255 - folder.size() - 3, 'n'), 1, true, folder + std::string(255 - folder.size() - 3, 'n') + ".tw"},
        {std::string(255 - folder.size() - 2, 'n'), 1, false, ""},
        {std::string(255 - folder.size() - 6, 'n'), 2, true,
         folder + std::string(255 - folder.size() - 6, 'n') + "(2).tw"},
        {std::string(255 - folder.size() - 6, 'n'), 10, false, ""},
    };
    for (const auto& c : cases) {
        char path[QuarantinePathLength] = "untouched";
        EXPECT_EQ(c.ok, MakeQuarantinePath(folder.c_str(), c.name.c_str(), c.number, path))
            << c.name.size() << " characters, number " << c.number;
        EXPECT_EQ(c.ok ? c.path : "untouched", path) << c.name.size() << " characters, number " << c.number;
    }
}

TEST_F(QuarantineStoreTest, QuarantineFolderIsCreatedOnceAndThenReused)
{
    char folder[QuarantinePathLength] = {};
    ASSERT_TRUE(GetQuarantineFolder(program.c_str(), folder));
    EXPECT_EQ(quarantine, folder);
    ASSERT_TRUE(WriteTestFile(quarantine + "kept.tw", "kept"));

    char again[QuarantinePathLength] = {};
    EXPECT_TRUE(GetQuarantineFolder(program.c_str(), again));
    EXPECT_EQ(quarantine, again);
    EXPECT_EQ("kept", Content(quarantine + "kept.tw"));
}

TEST_F(QuarantineStoreTest, QuarantineFolderFailuresLeaveTheOutputUntouched)
{
    ASSERT_TRUE(CreateDirectoryA((temp / "blocked\\").c_str(), nullptr));
    ASSERT_TRUE(WriteTestFile(temp / "blocked\\quarantine", "in the way"));
    const std::string tooLong = temp / (std::string(245 - temp.Path().size(), 'p') + "\\");
    ASSERT_TRUE(CreateDirectoryA(tooLong.c_str(), nullptr));
    const std::string cases[] = {temp / "blocked\\", temp / "absent\\", tooLong, ""};
    for (const std::string& programFolder : cases) {
        char folder[QuarantinePathLength] = "untouched";
        EXPECT_FALSE(GetQuarantineFolder(programFolder.c_str(), folder)) << programFolder;
        EXPECT_STREQ("untouched", folder) << programFolder;
    }
    EXPECT_FALSE(GetQuarantineFolder(program.c_str(), nullptr));
}

TEST(GetProgramFolder, FolderOfTheRunningProgram)
{
    char folder[ProgramFolderLength] = {};
    ASSERT_TRUE(GetProgramFolder(folder));
    const std::string path = folder;
    ASSERT_FALSE(path.empty());
    EXPECT_EQ('\\', path.back()) << path;
    EXPECT_TRUE(Exists(path + "quarantine_tests.exe")) << path;
    EXPECT_FALSE(GetProgramFolder(nullptr));
}

} // namespace
