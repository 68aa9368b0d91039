#include "shell/command_line.h"

#include <gtest/gtest.h>

using Arguments = std::vector<std::string>;

struct SplitCase {
    const char* line;
    Arguments expected;
    friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.line; }
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsAsTheStartersWriteIt) {
    EXPECT_EQ(SplitCommandLine(std::string_view(GetParam().line)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, SplitCommandLineTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"C:\\a\\Zapdate.exe", {"C:\\a\\Zapdate.exe"}},
                      SplitCase{"\"C:\\Program Files\\Velk\\Zapdate.exe\" -hiden 5 22",
                                {"C:\\Program Files\\Velk\\Zapdate.exe", "-hiden", "5", "22"}},
                      // Argument 0 ends at the first control character or blank, tabs included.
                      SplitCase{"C:\\z.exe\t-hiden", {"C:\\z.exe", "-hiden"}},
                      SplitCase{"z.exe   a \t b", {"z.exe", "a", "b"}},
                      SplitCase{"z.exe \"a b\" c", {"z.exe", "a b", "c"}},
                      SplitCase{"z.exe \"a \"\"q\"\" b\"", {"z.exe", "a \"q\" b"}},
                      SplitCase{"z.exe a\\\\\"b c\"", {"z.exe", "a\\b c"}},
                      SplitCase{"z.exe a\\\\\\\"b", {"z.exe", "a\\\"b"}},
                      SplitCase{"z.exe a\\\\b", {"z.exe", "a\\\\b"}},
                      // Forward slashes are backslashes in every argument after the first.
                      SplitCase{"z.exe /?", {"z.exe", "\\?"}},
                      SplitCase{"z.exe a/b//c", {"z.exe", "a\\b\\\\c"}},
                      SplitCase{"z.exe a/\\/\"b\"", {"z.exe", "a\\\"b"}},
                      SplitCase{"z.exe \"\"", {"z.exe", ""}},
                      SplitCase{"\"unterminated path", {"unterminated path"}}));

TEST(CommandLine, WideSplittingFollowsTheSameRules) {
    EXPECT_EQ(SplitCommandLine(std::wstring_view(L"\"C:\\a b\\z.exe\" -x/y \"q r\"")),
              (std::vector<std::wstring>{L"C:\\a b\\z.exe", L"-x\\y", L"q r"}));
}
