#include "drives/ThreatRules.h"
#include "framework/Strings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SameTextNoCase, ComparesWholeTextsByTheByteRule)
{
    const struct {
        const char* a;
        const char* b;
        size_t length;
        bool expected;
    } cases[] = {
        {".EXE", ".exe", 4, true},
        {".exe", ".exe", 3, false}, // never a prefix
        {".exe", ".ex", 3, false},
        {".ex", ".exe", 3, false},
        {"", "", 0, true},
        {"a", "", 0, false},
        {"MiXeD", "mIxEd", 5, true},
        {".exe", ".exf", 4, false},
        {"_", "?", 1, true},  // 95 and 63 differ by 32: every byte obeys the rule
        {"@", "`", 1, true},
        {"a", "!", 1, false}, // 97 and 33 differ by 64
        // Bytes are taken as signed: 0x10 and 0xF0 (-16) differ by 32, 0x70 and 0x90 (-112) do not.
        {"\x10", "\xF0", 1, true},
        {"\x70", "\x90", 1, false},
        {"\xC4", "\xE4", 1, true},
        {"\xFF", "\xDF", 1, true},
        {"\xFF", "\x7F", 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, SameTextNoCase(c.a, c.b, c.length))
            << '"' << c.a << "\" vs \"" << c.b << "\" length " << c.length;
}

TEST(SameTextNoCase, NullTextNeverMatches)
{
    EXPECT_FALSE(SameTextNoCase(nullptr, "", 0));
    EXPECT_FALSE(SameTextNoCase("", nullptr, 0));
}

TEST(SameTextNoCase, ReadsNoFurtherThanOneBytePastTheLength)
{
    // The second text has no terminator inside the buffer beyond length + 1.
    const char a[] = "abc";
    const char b[5] = {'a', 'b', 'c', 'd', 'e'};
    EXPECT_FALSE(SameTextNoCase(a, b, 3));
}

constexpr DWORD Normal = FILE_ATTRIBUTE_NORMAL;
constexpr DWORD Hidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD Folder = FILE_ATTRIBUTE_DIRECTORY;
constexpr DWORD Unreadable = INVALID_FILE_ATTRIBUTES;

TEST(ClassifyPathText, EveryExtensionInEitherCase)
{
    const char* const extensions[] = {"exe", "com", "dll", "html", "bat", "inf", "pif", "reg", "lnk",
                                      "scr", "asp", "js",  "vbs",  "wsf", "wsh", "aspx", "htt", "htm",
                                      "htx", "jsp", "jse", "ws",   "wsc", "vb",  "vbe", "cmd", "hta"};
    for (int code = 1; code <= 27; ++code) {
        std::string lower = std::string("E:\\file.") + extensions[code - 1];
        std::string upper = lower;
        for (char& ch : upper)
            ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(code, ClassifyPathText(lower.c_str(), lower.size(), Normal)) << lower;
        EXPECT_EQ(code, ClassifyPathText(upper.c_str(), upper.size(), Normal)) << upper;
    }
}

TEST(ClassifyPathText, TextAndAttributeRules)
{
    const struct {
        const char* path;
        DWORD attributes;
        int expected;
    } cases[] = {
        {"E:\\AUTORUN.INF", Normal, ExtInf},
        {"E:\\autorun.inf", Hidden, ExtInf},
        {"E:\\PAGE.HTML", Normal, ExtHtml},  // ".html" is not taken for ".htm"
        {"E:\\page.htm", Normal, ExtHtm},
        {"E:\\page.asp", Normal, ExtAsp},
        {"E:\\page.aspx", Normal, ExtAspx},
        {"E:\\setup.exe ", Normal, ExtNone}, // trailing blank
        {"E:\\report.exe.txt", Normal, ExtNone},
        {"E:\\old.dir\\readme", Normal, ExtNone}, // the last dot of the whole path counts
        {"E:\\noextension", Normal, ExtNone},
        {".exe", Normal, ExtNone},             // a dot in the first position is not seen
        {"a.exe", Normal, ExtExe},
        {"E:\\x.abcdefghijklmnop", Normal, ExtNone}, // only 9 characters are compared
        {"E:\\trailing.", Normal, ExtNone},
        {"E:\\AUTORUN.INF", Folder, ExtNone},
        {"E:\\setup.exe", Unreadable, ExtNone},
        {"E:\\\xE9t\xE9.exe", Normal, ExtExe},
        {"E:\\\xE9t\xE9.\xE5xe", Normal, ExtNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ClassifyPathText(c.path, std::strlen(c.path), c.attributes)) << c.path;
}

TEST(ThreatRules, RootRule)
{
    const struct {
        ExtensionCode code;
        DWORD attributes;
        bool expected;
    } cases[] = {
        {ExtInf, Normal, true},          {ExtInf, Hidden, true},
        {ExtInf, Unreadable, true},      {ExtExe, Normal, false},
        {ExtExe, Hidden, true},          {ExtHta, Hidden | FILE_ATTRIBUTE_SYSTEM, true},
        {ExtBat, Normal, false},         {ExtNone, Hidden, false},
        {ExtExe, Hidden | Folder, false}, {ExtExe, Unreadable, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, IsRootThreat(c.code, c.attributes)) << c.code << " attrs " << std::hex << c.attributes;
}

TEST(ThreatRules, DeepScanRule)
{
    const int always[] = {2, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27};
    const int whenHidden[] = {1, 3, 4, 6, 16, 18};
    for (int code : always) {
        EXPECT_TRUE(IsDeepScanThreat(static_cast<ExtensionCode>(code), Normal)) << code;
        EXPECT_TRUE(IsDeepScanThreat(static_cast<ExtensionCode>(code), Hidden)) << code;
    }
    for (int code : whenHidden) {
        EXPECT_FALSE(IsDeepScanThreat(static_cast<ExtensionCode>(code), Normal)) << code;
        EXPECT_TRUE(IsDeepScanThreat(static_cast<ExtensionCode>(code), Hidden)) << code;
        EXPECT_FALSE(IsDeepScanThreat(static_cast<ExtensionCode>(code), Unreadable)) << code;
    }
    EXPECT_FALSE(IsDeepScanThreat(ExtNone, Hidden));
}

TEST(ThreatRules, ProcessRuleTakesExeOnly)
{
    EXPECT_TRUE(IsExecutableModule(ExtExe));
    EXPECT_FALSE(IsExecutableModule(ExtDll));
    EXPECT_FALSE(IsExecutableModule(ExtCom));
}

// Real files: the attributes come from the file system.
TEST(ClassifyExtension, AsksTheFileSystem)
{
    TempFolder folder;
    ASSERT_TRUE(WriteTestFile(folder / "autorun.inf", "[autorun]"));
    ASSERT_TRUE(WriteTestFile(folder / "setup.exe", "MZ", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryA((folder / "AUTORUN.INF.dir.inf").c_str(), nullptr));
    const struct {
        std::string path;
        int expected;
    } cases[] = {
        {folder / "autorun.inf", ExtInf},
        {folder / "setup.exe", ExtExe},
        {folder / "AUTORUN.INF.dir.inf", ExtNone}, // a folder
        {folder / "missing.exe", ExtNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ClassifyExtension(c.path)) << c.path;
}

TEST(ClassifyExtension, PathsThatDoNotFitAreNotClassified)
{
    TempFolder folder;
    ASSERT_TRUE(WriteTestFile(folder / "a.exe", "MZ"));
    const std::string fits = folder / "a.exe";
    EXPECT_EQ(ExtExe, ClassifyExtension(fits.c_str(), fits.size() + 1));
    // No terminator inside the buffer: the text is refused without reading past it.
    EXPECT_EQ(ExtNone, ClassifyExtension(fits.c_str(), fits.size()));
    char full[8];
    std::memcpy(full, "abc.exe!", sizeof full);
    EXPECT_EQ(ExtNone, ClassifyExtension(full));
    // Longer than any ANSI path: not handed to the file system at all.
    const std::string tooLong = "E:\\" + std::string(300, 'x') + ".exe";
    EXPECT_EQ(ExtNone, ClassifyExtension(tooLong));
    EXPECT_EQ(ExtNone, ClassifyExtension(nullptr, 10));
}

TEST(ThreatTexts, StringTableHoldsTheRowTexts)
{
    const struct {
        UINT id;
        const char* text;
    } cases[] = {
        {131, "Threat"}, {132, "State"},      {143, "File"},          {144, "State"},
        {133, "Risky"},  {145, "Suspicious"}, {139, "Deleted"},       {140, "Delete failed"},
        {134, "No threat found"},             {135, "%d threats found"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, LoadResString(c.id)) << c.id;
}

TEST(ThreatTexts, Summary)
{
    EXPECT_EQ("No threat found", ThreatSummaryText(0));
    EXPECT_EQ("1 threats found", ThreatSummaryText(1));
    EXPECT_EQ("2 threats found", ThreatSummaryText(2));
}

} // namespace
