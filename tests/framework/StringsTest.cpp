#include "framework/Strings.h"
#include "framework/TestDialogs.h"

#include <gtest/gtest.h>

namespace {

std::string Digits(size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('0' + i % 10);
    return text;
}

struct StringCase {
    UINT id;
    size_t length;
};

class LoadResStringTest : public testing::TestWithParam<StringCase> {};

// The loader starts with 256 bytes and grows: the lengths around each size
// it tries must come back whole.
TEST_P(LoadResStringTest, ReturnsWholeText)
{
    const std::string text = LoadResString(GetParam().id);
    EXPECT_EQ(GetParam().length, text.size());
    EXPECT_EQ(Digits(GetParam().length), text);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, LoadResStringTest,
                         testing::Values(StringCase{400, 1}, StringCase{401, 254}, StringCase{402, 255},
                                         StringCase{403, 256}, StringCase{404, 257}, StringCase{405, 511},
                                         StringCase{406, 512}, StringCase{407, 1500}));

TEST(LoadResString, MissingEntryIsEmpty)
{
    EXPECT_EQ("", LoadResString(9999));
}

TEST(FormatResString, UsesTheEntryAsFormat)
{
    EXPECT_EQ("3 of five", FormatResString(IDS_TEST_FORMAT, 3, "five"));
}

TEST(FormatText, FormatsLongText)
{
    const std::string long_text = Digits(5000);
    EXPECT_EQ("<" + long_text + ">", FormatText("<%s>", long_text.c_str()));
}

} // namespace
