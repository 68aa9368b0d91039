// The splitting of command lines where it is the program's own; the rest is compared with the
// system's splitting by the generated lines of run_mode_test.cpp.

#include "shell/command_line.h"

#include <gtest/gtest.h>

using Arguments = std::vector<std::string>;

TEST(CommandLine, SplitsWhatTheSystemSplitsOtherwise) {
    const struct {
        const char* line;
        Arguments expected;
    } kCases[] = {{"", {}},
                  // Two double quotes inside quotes give one, and the quotes go on.
                  {"z.exe \"a \"\"q\"\" b\"", {"z.exe", "a \"q\" b"}},
                  {"z.exe \"\"", {"z.exe", ""}},
                  // A quoted argument 0 runs to the end when its quote is not closed.
                  {"\"unterminated path", {"unterminated path"}}};
    for (const auto& c : kCases)
        EXPECT_EQ(SplitCommandLine(std::string_view(c.line)), c.expected) << c.line;
    EXPECT_EQ(SplitCommandLine(std::wstring_view(L"\"C:\\a b\\z.exe\" -x/y \"q r\"")),
              (std::vector<std::wstring>{L"C:\\a b\\z.exe", L"-x\\y", L"q r"}));
}
