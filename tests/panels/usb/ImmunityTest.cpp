// Immunity against temporary folders standing in for drive roots and a scratch
// registry key standing in for the policy key.
#include "panels/usb/Immunity.h"

#include "drives/DriveDiscovery.h"
#include "framework/MessageBox.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char ReadMeText[] = "The directory created by Thumbfort should be deleted by itself";
const char ImmuneText[] = "Your computer and USB storage are immune from virus";
const char NotImmuneText[] = "Your computer and USB storage device are not immune away from virus!";
const char RegistryErrorText[] = "Plugwarden failed in accessing the registry.\r\n"
                                 "Please check if the current user has right to access the registry.";
const char ScratchKey[] = "Software\\PlugwardenTest\\Immunity";

std::string VirusWarning(const std::string& root)
{
    return "There may be virus on the root directory: " + root +
           " \r\nPlease use Antivirus software to scan your computer!";
}

// Records every message box and answers OK; the buttons asked for are kept
// apart from the texts so that a wrong button shows as such.
class MessageRecorder {
public:
    MessageRecorder()
    {
        m_previous = SetMessageBoxAnswerer([this](const std::string& text, UINT type) {
            texts.push_back(text);
            buttons.push_back(type & MB_TYPEMASK);
            return IDOK;
        });
    }
    ~MessageRecorder() { SetMessageBoxAnswerer(std::move(m_previous)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<std::string> texts;
    std::vector<UINT> buttons;

private:
    MessageBoxAnswerer m_previous;
};

// The name the file system gives a folder made through "\morvane..\" (Windows
// keeps both dots, Wine one): what the guard folder must be called.
std::string GuardFolderOnDisk()
{
    TempFolder probe;
    CreateDirectoryA((probe.Path() + "x").c_str(), nullptr);
    CreateDirectoryA((probe.Path() + "x\\morvane..\\").c_str(), nullptr);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((probe.Path() + "x\\morvane*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return "(guard folder could not be made)";
    FindClose(find);
    RemoveDirectoryA((probe.Path() + "x\\morvane..\\").c_str());
    return data.cFileName;
}

// One line per entry below `folder`: relative path, d or f, the hidden,
// read-only and system flags, and a file's content. Sorted, so that two trees
// compare as vectors.
void DescribeInto(const std::string& folder, const std::string& prefix, std::vector<std::string>* lines)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        const DWORD attributes = data.dwFileAttributes;
        const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string line = prefix + name + (isFolder ? " d" : " f");
        if (attributes & FILE_ATTRIBUTE_HIDDEN)
            line += " H";
        if (attributes & FILE_ATTRIBUTE_READONLY)
            line += " R";
        if (attributes & FILE_ATTRIBUTE_SYSTEM)
            line += " S";
        if (isFolder) {
            lines->push_back(line);
            // The guard folder's name is not one the platform can open as
            // is; only the path with the trailing backslash reaches it.
            DescribeInto(folder + name + "\\", prefix + name + "\\", lines);
        } else {
            std::string content;
            ReadTestFile(folder + name, &content);
            lines->push_back(line + " =" + content);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::vector<std::string> Describe(const std::string& root)
{
    std::vector<std::string> lines;
    DescribeInto(root, "", &lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "  [" + line + "]\n";
    return text;
}

// What a root holds after immunity, plus `more`; "{guard}" stands for the
// guard folder's name on disk.
std::vector<std::string> Expected(std::vector<std::string> lines)
{
    static const std::string guard = GuardFolderOnDisk();
    for (std::string& line : lines) {
        const size_t at = line.find("{guard}");
        if (at != std::string::npos)
            line.replace(at, 7, guard);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

const std::vector<std::string> Immunised = {
    "AUTORUN.INF d H",
    "AUTORUN.INF\\{guard} d",
    std::string("AUTORUN.INF\\ReadMe.txt f =") + ReadMeText,
};

std::vector<std::string> With(std::vector<std::string> lines, const std::vector<std::string>& more)
{
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// An entry put on the root before the operation runs.
struct Entry {
    const char* path;
    bool folder;
    const char* content;
    DWORD attributes;
};

void Make(const std::string& root, const std::vector<Entry>& entries)
{
    for (const Entry& entry : entries) {
        const std::string path = root + entry.path;
        if (entry.folder) {
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), entry.attributes)) << path;
        } else {
            ASSERT_TRUE(WriteTestFile(path, entry.content, entry.attributes)) << path;
        }
    }
}

struct DriveCase {
    const char* name;
    bool immunisedBefore;   // ImmunizeDrive ran once before the entries were made
    std::vector<Entry> entries;
    std::vector<std::string> after;
    bool warns;             // the autorun warning naming the root, with the alarm
};

void PrintTo(const DriveCase& row, std::ostream* out)
{
    *out << row.name;
}

void RunDriveCase(const DriveCase& row, void (*operation)(const std::string&, const std::function<void()>&))
{
    TempFolder root;
    int alarms = 0;
    const std::function<void()> alarm = [&alarms] { ++alarms; };
    if (row.immunisedBefore)
        ImmunizeDrive(root.Path(), alarm);
    Make(root.Path(), row.entries);
    alarms = 0;

    MessageRecorder messages;
    operation(root.Path(), alarm);

    const std::vector<std::string> after = Describe(root.Path());
    EXPECT_EQ(Expected(row.after), after) << "root holds:\n" << Join(after);
    const std::vector<std::string> warnings =
        row.warns ? std::vector<std::string>{VirusWarning(root.Path())} : std::vector<std::string>{};
    EXPECT_EQ(warnings, messages.texts);
    EXPECT_EQ(std::vector<UINT>(warnings.size(), MB_OK), messages.buttons);
    EXPECT_EQ(row.warns ? 1 : 0, alarms);
}

std::string CaseName(const testing::TestParamInfo<DriveCase>& row)
{
    return row.param.name;
}

constexpr DWORD Rhs = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class ImmunizeDriveTest : public testing::TestWithParam<DriveCase> {};

TEST_P(ImmunizeDriveTest, LeavesTheRootAsExpected)
{
    RunDriveCase(GetParam(), ImmunizeDrive);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImmunizeDriveTest, testing::Values(
    DriveCase{"EmptyRoot", false, {}, Immunised, false},
    DriveCase{"OtherFilesStay", false, {{"data.txt", false, "keep", Rhs}, {"AUTORUN", true, "", 0}},
              With(Immunised, {"data.txt f H R S =keep", "AUTORUN d"}), false},
    DriveCase{"AutorunFileDeleted", false, {{"autorun.inf", false, "[autorun]", FILE_ATTRIBUTE_NORMAL}},
              Immunised, true},
    DriveCase{"ProtectedAutorunFileInMixedCase", false, {{"AutoRun.Inf", false, "[autorun]", Rhs}},
              Immunised, true},
    DriveCase{"ForeignFolderUntouched", false, {{"autorun.inf", true, "", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}},
              {"autorun.inf d H S"}, false},
    DriveCase{"ForeignFolderWithContentUntouched", false,
              {{"AUTORUN.INF", true, "", FILE_ATTRIBUTE_NORMAL}, {"AUTORUN.INF\\ReadMe.txt", false, "mine", 0}},
              {"AUTORUN.INF d", "AUTORUN.INF\\ReadMe.txt f =mine"}, false},
    DriveCase{"SecondRunChangesNothing", true, {}, Immunised, false}),
    CaseName);

class CancelDriveImmunityTest : public testing::TestWithParam<DriveCase> {};

TEST_P(CancelDriveImmunityTest, LeavesTheRootAsExpected)
{
    RunDriveCase(GetParam(), CancelDriveImmunity);
}

INSTANTIATE_TEST_SUITE_P(Cases, CancelDriveImmunityTest, testing::Values(
    DriveCase{"ImmunisedRootCleared", true, {}, {}, false},
    DriveCase{"NeverImmunisedUnchanged", false, {{"data.txt", false, "keep", FILE_ATTRIBUTE_HIDDEN}},
              {"data.txt f H =keep"}, false},
    DriveCase{"FurtherFileKeepsFolderVisible", true, {{"AUTORUN.INF\\notes.txt", false, "n", 0}},
              {"AUTORUN.INF d", "AUTORUN.INF\\notes.txt f =n"}, false},
    DriveCase{"AutorunFileDeletedNothingMade", false, {{"Autorun.INF", false, "[autorun]", Rhs}}, {}, true},
    DriveCase{"EmptyForeignFolderRemoved", false, {{"AUTORUN.INF", true, "", Rhs}}, {}, false},
    DriveCase{"ForeignReadMeKept", false,
              {{"AUTORUN.INF", true, "", FILE_ATTRIBUTE_HIDDEN}, {"AUTORUN.INF\\ReadMe.txt", false, "mine", 0}},
              {"AUTORUN.INF d", "AUTORUN.INF\\ReadMe.txt f =mine"}, false},
    DriveCase{"LongerReadMeKept", false,
              {{"AUTORUN.INF", true, "", FILE_ATTRIBUTE_NORMAL},
               {"AUTORUN.INF\\ReadMe.txt", false, "The directory created by Thumbfort should be deleted by itself!", 0}},
              {"AUTORUN.INF d",
               "AUTORUN.INF\\ReadMe.txt f =The directory created by Thumbfort should be deleted by itself!"},
              false}),
    CaseName);

TEST(ImmunityFolder, GuardKeepsItFromPlainRemoval)
{
    TempFolder root;
    ImmunizeDrive(root.Path(), nullptr);
    const std::string folder = root.Path() + "AUTORUN.INF";
    EXPECT_FALSE(RemoveDirectoryA(folder.c_str()));
    const DWORD guard = GetFileAttributesA((folder + "\\morvane..\\").c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, guard);
    EXPECT_NE(0u, guard & FILE_ATTRIBUTE_DIRECTORY) << std::hex << guard;
}

TEST(ImmunityFolder, MissingRootGetsNothingAndNoMessage)
{
    TempFolder parent;
    const std::string root = parent.Path() + "no medium\\";
    MessageRecorder messages;
    ImmunizeDrive(root, nullptr);
    CancelDriveImmunity(root, nullptr);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(root.c_str()));
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
}

// Drive types by letter, '0' to '6' (the DRIVE_* values); '-' for no drive.
class TableDrives final : public DrivePlatform {
public:
    TableDrives(DWORD mask, const char* types) : m_mask(mask), m_types(types) {}
    mutable std::vector<std::string> asked;

    DWORD LogicalDrives() const override { return m_mask; }
    UINT DriveType(const char* root) const override
    {
        asked.push_back(root);
        const int index = root[0] - 'A';
        if (std::strlen(root) != 2 || root[1] != ':' || index < 0 || index >= 26 || m_types[index] == '-')
            return DRIVE_NO_ROOT_DIR;
        return static_cast<UINT>(m_types[index] - '0');
    }
    bool PlatformId(DWORD*) const override { return false; }
    HANDLE OpenVolume(const char*) const override { return INVALID_HANDLE_VALUE; }
    bool QueryStorage(HANDLE, BYTE*) const override { return false; }
    void CloseVolume(HANDLE) const override {}

private:
    DWORD m_mask;
    const char* m_types;
};

struct WalkCase {
    const char* name;
    DWORD mask;
    const char* types; // 26 letters
    std::vector<std::string> roots;
    std::vector<std::string> asked;
};

TEST(ImmunityDriveRoots, TreatsRemovableAndFixedDrivesOnly)
{
    const WalkCase cases[] = {
        {"NoDrives", 0, "--------------------------", {}, {}},
        {"EveryType", 0x1FF, "223524610-----------------", {"A:\\", "B:\\", "C:\\", "E:\\"},
         {"A:", "B:", "C:", "D:", "E:", "F:", "G:", "H:", "I:"}},
        {"AbsentLettersNotAsked", (1u << 2) | (1u << 25), "33333333333333333333333333", {"C:\\", "Z:\\"},
         {"C:", "Z:"}},
        {"BitsAboveZIgnored", 0xFC000000u | (1u << 3), "33333333333333333333333333", {"D:\\"}, {"D:"}},
    };
    for (const WalkCase& row : cases) {
        SCOPED_TRACE(row.name);
        const TableDrives drives(row.mask, row.types);
        EXPECT_EQ(row.roots, ImmunityDriveRoots(drives));
        EXPECT_EQ(row.asked, drives.asked);
    }
}

TEST(ImmunityDriveRoots, ComputerScopeIsTheRealPolicyAndDrives)
{
    const ImmunityScope scope = ComputerImmunityScope();
    EXPECT_EQ(HKEY_CURRENT_USER, scope.policyRoot);
    EXPECT_EQ("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", scope.policyKey);
    EXPECT_STREQ("NoDriveTypeAutoRun", AutorunPolicyValue);
    EXPECT_TRUE(static_cast<bool>(scope.alarm));
    // The fixed system drive is immunised like a USB drive.
    EXPECT_NE(scope.roots.end(), std::find(scope.roots.begin(), scope.roots.end(), "C:\\")) << scope.roots.size();
}

// A scratch policy key of its own, deleted with its parent when that is empty.
class PolicyKey {
public:
    PolicyKey()
    {
        HKEY key = nullptr;
        created = RegCreateKeyExA(HKEY_CURRENT_USER, ScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr) == ERROR_SUCCESS;
        if (created)
            RegCloseKey(key);
    }
    ~PolicyKey()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, ScratchKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, ScratchKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\PlugwardenTest");
    }
    PolicyKey(const PolicyKey&) = delete;
    PolicyKey& operator=(const PolicyKey&) = delete;

    bool Set(DWORD type, const void* data, DWORD length) const
    {
        return RegSetKeyValueA(HKEY_CURRENT_USER, ScratchKey, AutorunPolicyValue, type, data, length) ==
               ERROR_SUCCESS;
    }
    // The value as type, length and (for four bytes) number.
    std::string Value() const
    {
        BYTE data[16] = {};
        DWORD type = 0;
        DWORD length = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, ScratchKey, AutorunPolicyValue, RRF_RT_ANY | RRF_NOEXPAND, &type, data,
                         &length) != ERROR_SUCCESS)
            return "none";
        DWORD number = 0;
        std::memcpy(&number, data, sizeof number);
        char text[64];
        std::snprintf(text, sizeof text, "type %lu length %lu value 0x%lX", type, length, number);
        return text;
    }

    bool created = false;
};

bool KeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

enum class Prior { None, Off, On, Repaired, Text };

struct PolicyCase {
    const char* name;
    void (*operation)(HKEY, const std::string&);
    Prior prior;
    const char* after;
};

TEST(AutorunPolicy, WritesTheDwordWhateverWasThere)
{
    const PolicyCase cases[] = {
        {"DisableOverNothing", DisableUsbAutorun, Prior::None, "type 4 length 4 value 0x9F"},
        {"DisableOverOn", DisableUsbAutorun, Prior::On, "type 4 length 4 value 0x9F"},
        {"DisableOverText", DisableUsbAutorun, Prior::Text, "type 4 length 4 value 0x9F"},
        {"EnableOverNothing", EnableUsbAutorun, Prior::None, "type 4 length 4 value 0x91"},
        {"EnableOverOff", EnableUsbAutorun, Prior::Off, "type 4 length 4 value 0x91"},
        {"EnableOverRepaired", EnableUsbAutorun, Prior::Repaired, "type 4 length 4 value 0x91"},
    };
    for (const PolicyCase& row : cases) {
        SCOPED_TRACE(row.name);
        PolicyKey key;
        ASSERT_TRUE(key.created);
        const DWORD numbers[] = {0, 0x9F, 0x91, 0x95};
        if (row.prior == Prior::Text) {
            ASSERT_TRUE(key.Set(REG_SZ, "0x91", 5));
        } else if (row.prior != Prior::None) {
            ASSERT_TRUE(key.Set(REG_DWORD, &numbers[static_cast<int>(row.prior)], sizeof(DWORD)));
        }
        MessageRecorder messages;
        row.operation(HKEY_CURRENT_USER, ScratchKey);
        EXPECT_EQ(row.after, key.Value());
        EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
    }
}

TEST(AutorunPolicy, MissingKeyIsReportedAndNotCreated)
{
    const std::string missing = std::string(ScratchKey) + "\\Missing";
    using Operation = void (*)(HKEY, const std::string&);
    for (Operation operation : {Operation(DisableUsbAutorun), Operation(EnableUsbAutorun)}) {
        PolicyKey key;
        MessageRecorder messages;
        operation(HKEY_CURRENT_USER, missing);
        EXPECT_EQ(std::vector<std::string>{RegistryErrorText}, messages.texts);
        EXPECT_EQ(std::vector<UINT>{MB_OK}, messages.buttons);
        EXPECT_FALSE(KeyExists(missing));
    }
}

// The performance-data root opens with full access but takes no values: a
// key whose write fails.
TEST(AutorunPolicy, FailedWriteIsReported)
{
    HKEY probe = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_PERFORMANCE_DATA, "", 0, KEY_ALL_ACCESS, &probe));
    const DWORD value = 0;
    const LONG probeWrite = RegSetValueExA(probe, AutorunPolicyValue, 0, REG_DWORD,
                                           reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(probe);
    ASSERT_NE(ERROR_SUCCESS, probeWrite) << "the platform now takes values there; pick another failing key";

    MessageRecorder messages;
    DisableUsbAutorun(HKEY_PERFORMANCE_DATA, "");
    EXPECT_EQ(std::vector<std::string>{RegistryErrorText}, messages.texts);
    EXPECT_EQ(std::vector<UINT>{MB_OK}, messages.buttons);
}

struct WholeCase {
    const char* name;
    bool acquire;
    bool keyExists;
    bool immunisedBefore;   // both roots
    bool autorunOnSecond;   // an autorun file on the second root
    std::vector<std::string> rootsAfter;
    const char* policyAfter;
};

TEST(AcquireAndCancel, TreatEveryRootThenThePolicyThenTellTheUser)
{
    const WholeCase cases[] = {
        {"Acquire", true, true, false, false, Immunised, "type 4 length 4 value 0x9F"},
        {"AcquireWithAutorunFile", true, true, false, true, Immunised, "type 4 length 4 value 0x9F"},
        {"AcquireWithoutPolicyKey", true, false, false, false, Immunised, "none"},
        {"Cancel", false, true, true, false, {}, "type 4 length 4 value 0x91"},
        {"CancelWithAutorunFile", false, true, false, true, {}, "type 4 length 4 value 0x91"},
        {"CancelWithoutPolicyKey", false, false, true, false, {}, "none"},
    };
    for (const WholeCase& row : cases) {
        SCOPED_TRACE(row.name);
        TempFolder first;
        TempFolder second;
        PolicyKey key;
        ImmunityScope scope;
        scope.roots = {first.Path(), second.Path()};
        scope.policyRoot = HKEY_CURRENT_USER;
        scope.policyKey = row.keyExists ? ScratchKey : std::string(ScratchKey) + "\\Missing";
        int alarms = 0;
        scope.alarm = [&alarms] { ++alarms; };
        if (row.immunisedBefore) {
            ImmunizeDrive(first.Path(), nullptr);
            ImmunizeDrive(second.Path(), nullptr);
        }
        if (row.autorunOnSecond) {
            ASSERT_TRUE(WriteTestFile(second / "autorun.inf", "[autorun]", Rhs));
        }

        MessageRecorder messages;
        (row.acquire ? static_cast<void (*)(const ImmunityScope&)>(AcquireImmunity)
                     : static_cast<void (*)(const ImmunityScope&)>(CancelImmunity))(scope);

        std::vector<std::string> expected;
        if (row.autorunOnSecond)
            expected.push_back(VirusWarning(second.Path()));
        if (!row.keyExists)
            expected.push_back(RegistryErrorText);
        expected.push_back(row.acquire ? ImmuneText : NotImmuneText);
        EXPECT_EQ(expected, messages.texts);
        EXPECT_EQ(std::vector<UINT>(expected.size(), MB_OK), messages.buttons);
        EXPECT_EQ(row.autorunOnSecond ? 1 : 0, alarms);
        EXPECT_EQ(Expected(row.rootsAfter), Describe(first.Path())) << Join(Describe(first.Path()));
        EXPECT_EQ(Expected(row.rootsAfter), Describe(second.Path())) << Join(Describe(second.Path()));
        EXPECT_EQ(row.policyAfter, key.Value());
        EXPECT_FALSE(KeyExists(std::string(ScratchKey) + "\\Missing"));
    }
}

} // namespace
