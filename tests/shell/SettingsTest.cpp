#include "framework/MessageBox.h"
#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(LeadingNumber, ReadsLeadingDecimalDigits)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"20", 20}, {"7days", 7}, {"  5", 5}, {"+3", 3}, {"-4", -4}, {"abc", 0},
        {"", 0},    {"0", 0},     {"99999999999999999999", 2147483647},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, LeadingNumber(c.text)) << '"' << c.text << '"';
}

TEST(UpdateCheckDueOn, ComparesDaysOfTheMonthOnly)
{
    const std::string missing = "<missing>";
    const struct {
        int today;
        const char* stored; // null: missing or unreadable
        bool due;
    } cases[] = {
        {13, nullptr, true}, {13, "0", true},   {13, "abc", true}, {13, "", true},
        {13, "20", false},   {17, "10", false}, {18, "10", true},  {3, "28", true},
        {6, "5", false},     {13, "13", false}, {13, "-13", true}, {1, "31", true},
    };
    for (const auto& c : cases) {
        const std::string stored = c.stored != nullptr ? c.stored : "";
        EXPECT_EQ(c.due, UpdateCheckDueOn(c.today, c.stored != nullptr ? &stored : nullptr))
            << "today " << c.today << ", stored " << (c.stored != nullptr ? c.stored : "missing");
    }
}

// A scratch settings key of the test's own.
class SettingsKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, ScratchKey);
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, ScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &m_key, nullptr));
    }
    void TearDown() override
    {
        SetMessageBoxAnswerer(nullptr);
        RegCloseKey(m_key);
        RegDeleteTreeA(HKEY_CURRENT_USER, ScratchKey);
    }

    static constexpr const char* ScratchKey = "Software\\PlugwardenTest\\Settings";
    HKEY m_key = nullptr;
};

TEST_F(SettingsKeyTest, ValuesRoundTripAndLongOnesCountAsMissing)
{
    std::string value;
    EXPECT_FALSE(ReadSetting(m_key, "lastcheck", &value));
    ASSERT_TRUE(WriteSetting(m_key, "lastcheck", "17"));
    ASSERT_TRUE(ReadSetting(m_key, "lastcheck", &value));
    EXPECT_EQ("17", value);
    // 99 characters and the terminator fill the buffer exactly; one more does not fit.
    ASSERT_TRUE(WriteSetting(m_key, "long", std::string(99, 'x')));
    EXPECT_TRUE(ReadSetting(m_key, "long", &value));
    EXPECT_EQ(99u, value.size());
    ASSERT_TRUE(WriteSetting(m_key, "long", std::string(100, 'x')));
    value = "untouched";
    EXPECT_FALSE(ReadSetting(m_key, "long", &value));
    EXPECT_EQ("untouched", value);
}

TEST_F(SettingsKeyTest, DueCheckRecordsToday)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_TRUE(IsUpdateCheckDue(m_key));
    std::string stored;
    ASSERT_TRUE(ReadSetting(m_key, "lastcheck", &stored));
    EXPECT_EQ(std::to_string(now.wDay), stored);
    // Checked today: not due again, and nothing is written.
    ASSERT_TRUE(WriteSetting(m_key, "lastcheck", std::to_string(now.wDay) + "x"));
    EXPECT_FALSE(IsUpdateCheckDue(m_key));
    ASSERT_TRUE(ReadSetting(m_key, "lastcheck", &stored));
    EXPECT_EQ(std::to_string(now.wDay) + "x", stored);
}

TEST_F(SettingsKeyTest, AutorunQuestionIsAskedOnceWhateverTheAnswer)
{
    std::vector<std::string> asked;
    SetMessageBoxAnswerer([&](const std::string& text, UINT type) {
        asked.push_back(text);
        EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), type & MB_TYPEMASK);
        return IDCANCEL;
    });
    AskDisableAutorunOnce(m_key);
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("AUTORUN of USB drive is potentially unsafe.\r\nDo you want to disable AUTORUN of USB drive?", asked[0]);
    std::string value;
    ASSERT_TRUE(ReadSetting(m_key, "autorun", &value));
    EXPECT_EQ("1", value);
    AskDisableAutorunOnce(m_key);
    EXPECT_EQ(1u, asked.size());
}

TEST_F(SettingsKeyTest, AnyAutorunValueMeansNoQuestion)
{
    ASSERT_TRUE(WriteSetting(m_key, "autorun", ""));
    bool asked = false;
    SetMessageBoxAnswerer([&](const std::string&, UINT) {
        asked = true;
        return IDOK;
    });
    AskDisableAutorunOnce(m_key);
    EXPECT_FALSE(asked);
}

TEST(PlaceAboveTaskbar, RightEdgeOnTheTaskbarsTop)
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_NE(nullptr, taskbar) << "the test desktop has no taskbar";
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 120, 40, nullptr, nullptr, nullptr, nullptr);
    PlaceAboveTaskbar(window);
    RECT bar, desktop, placed;
    GetWindowRect(taskbar, &bar);
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &placed);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(desktop.right - 120, placed.left);
    EXPECT_EQ(bar.top - 40, placed.top);
    EXPECT_EQ(120, placed.right - placed.left);
    DestroyWindow(window);
}

} // namespace
