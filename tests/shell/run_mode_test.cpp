// The splitting of command lines, the run mode and the start-up settings that a command line
// gives, and the product id table.

#include "shell/run_mode.h"

#include "platform/text.h"
#include "shell/command_line.h"
#include "shell/product_id_range.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <memory>
#include <random>
#include <tuple>

namespace {

int g_acknowledged = 0;
void CountAcknowledge() {
    ++g_acknowledged;
}

struct Parsed {
    RunMode mode;
    StartupSettings settings;
};

Parsed Parse(const std::vector<std::string>& arguments) {
    Parsed parsed{};
    parsed.mode = DetermineRunModeFromArguments(arguments, parsed.settings, &CountAcknowledge);
    return parsed;
}
Parsed Parse(const char* line) {
    return Parse(SplitCommandLine(std::string_view(line)));
}

constexpr uint32_t kNo = kIdNotGiven;

// The system's own splitting of a command line, as the oracle of the generated lines.
std::vector<std::string> SplitBySystem(const std::string& line) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> argv(
        ::CommandLineToArgvW(platform::WideFromAnsi(line).c_str(), &count), &::LocalFree);
    std::vector<std::string> arguments;
    for (int i = 0; argv && i < count; ++i)
        arguments.push_back(platform::AnsiFromWide(argv.get()[i]));
    return arguments;
}

} // namespace

// Lines that the generated ones below leave out: empty, or split otherwise by the system (two
// double quotes inside quotes give one and the quotes go on; a quoted argument 0 runs to the end
// when its quote is not closed). An empty first argument gives no ids.
TEST(CommandLine, LinesTheSystemSplitsOtherwise) {
    const struct {
        const char* line;
        std::vector<std::string> arguments;
        RunMode mode;
        uint32_t resellerId;
    } kCases[] = {{"", {}, RunMode::Usage, kNo},
                  {"z.exe \"a \"\"q\"\" b\"", {"z.exe", "a \"q\" b"}, RunMode::Normal, 0},
                  {"z.exe \"\" 5 22", {"z.exe", "", "5", "22"}, RunMode::Normal, kNo},
                  {"\"unterminated path", {"unterminated path"}, RunMode::Normal, kNo}};
    for (const auto& c : kCases) {
        EXPECT_EQ(SplitCommandLine(std::string_view(c.line)), c.arguments) << c.line;
        const auto [mode, s] = Parse(c.line);
        EXPECT_EQ(std::tie(mode, s.resellerId, s.productId, s.mappedProductId),
                  std::tuple(c.mode, c.resellerId, kNo, kNo))
            << c.line;
    }
    EXPECT_EQ(SplitCommandLine(std::wstring_view(L"\"C:\\a b\\z.exe\" -x/y \"q r\"")),
              (std::vector<std::wstring>{L"C:\\a b\\z.exe", L"-x\\y", L"q r"}));
}

// Command lines as anything that starts the program might write them: quotes, backslashes and
// slashes in every arrangement, switches in any case, numbers of any form. Each splits as the
// system's CommandLineToArgvW splits it with the slashes read as backslashes (two double quotes
// in a row, where the system's rule is another, are left out), and the mode and the settings
// follow from the first arguments.
TEST(CommandLine, GeneratedLinesSplitAsTheSystemDoesAndChooseTheirMode) {
    static const char* const kPrograms[] = {"C:\\Velk\\Zapdate.exe",
                                            "\"C:\\Program Files\\Zapdate.exe\"", "Zapdate.exe",
                                            "z", "\\Zapdate.exe"};
    // clang-format off
    static const char* const kTokens[] = {
        kSwitchHidden, kSwitchHiddenRun, kSwitchRunUpdating, kSwitchCleanUp, "-HIDEN", "-hiden_",
        "?", "-?", "/?", "?x", "-", "5", "-1", "+22", "65558", "4294967295", "x7", " 17"};
    // clang-format on
    static const char kNoise[] = "\"\\/ \t-?a09";
    std::mt19937 random(20261210);
    const auto pick = [&](size_t n) { return size_t{random()} % n; };
    int compared = 0;
    for (int round = 0; round < 6000; ++round) {
        const std::string program = kPrograms[pick(std::size(kPrograms))];
        std::string line = program;
        for (size_t count = pick(5); count > 0; --count) {
            std::string token = pick(2) ? kTokens[pick(std::size(kTokens))] : "";
            for (size_t noise = pick(2) ? pick(6) : 0; noise > 0; --noise)
                token.insert(pick(token.size() + 1), 1, kNoise[pick(sizeof kNoise - 1)]);
            if (pick(4) == 0)
                token = '"' + token.append(1, '"');
            line += (pick(4) ? " " : "\t") + token;
        }
        if (line.find("\"\"", program.size()) != std::string::npos)
            continue;
        ++compared;
        std::string systemLine = line;
        for (size_t i = program.size(); i < systemLine.size(); ++i)
            systemLine[i] = systemLine[i] == '/' ? '\\' : systemLine[i];
        const std::vector<std::string> arguments = SplitCommandLine(std::string_view(line));
        ASSERT_EQ(arguments, SplitBySystem(systemLine)) << line;

        g_acknowledged = 0;
        const Parsed parsed = Parse(arguments);
        const bool read = arguments[0].size() >= 2 && arguments[0].rfind('\\') != 0 &&
                          arguments.size() > 1 && !arguments[1].empty();
        const std::string first = read ? arguments[1] : "";
        const bool help = first[0] == '?' || first.rfind("-?", 0) == 0;
        const bool relaunched = first == kSwitchHiddenRun || first == kSwitchRunUpdating;
        const bool hidden = first == kSwitchHiddenRun || first == kSwitchHidden;
        EXPECT_EQ(parsed.mode, help                      ? RunMode::Usage
                               : first == kSwitchCleanUp ? RunMode::CleanUp
                               : relaunched              ? RunMode::Relaunched
                                                         : RunMode::Normal)
            << line;
        EXPECT_EQ(parsed.settings.hidden, hidden) << line;
        EXPECT_EQ(g_acknowledged, first == kSwitchRunUpdating ? 1 : 0) << line;
        const size_t next = relaunched || hidden ? 2 : 1;
        const bool ids = read && !help && first != kSwitchCleanUp;
        const auto value = [&](size_t i) {
            return ids && i < arguments.size()
                       ? static_cast<uint32_t>(std::strtoll(arguments[i].c_str(), nullptr, 10))
                       : kNo;
        };
        EXPECT_EQ(parsed.settings.resellerId, value(next)) << line;
        EXPECT_EQ(parsed.settings.productId, value(next + 1)) << line;
        EXPECT_EQ(parsed.settings.mappedProductId, MapProductId(value(next + 1))) << line;
    }
    EXPECT_GT(compared, 3000);
}

TEST(ProductIdRange, EveryRowMapsItsRangeAndOtherIdsMapToThemselves) {
    struct Row {
        uint32_t low, high, mapped;
    };
    static const Row kRows[] = {
        {0, 0, 6},          {1, 1, 1},          {2, 7, 6},          {16, 22, 22},
        {26, 26, 26},       {32, 32, 32},       {40, 42, 41},       {46, 48, 47},
        {56, 57, 56},       {58, 58, 58},       {2304, 2305, 2304}, {256, 257, 257},
        {258, 259, 259},    {512, 514, 513},    {768, 769, 769},    {778, 779, 779},
        {1088, 1089, 1088}, {1280, 1280, 1280}, {1281, 1281, 1281}, {1282, 1282, 1282},
        {1283, 1283, 1283}, {1284, 1284, 1284}, {2048, 2049, 2048}};
    for (const Row& row : kRows)
        for (const uint32_t id : {row.low, row.high, row.low + 0x10000, row.high + 0x7FFF0000})
            EXPECT_EQ(MapProductId(id), row.mapped) << id;
    for (const uint32_t id : {8u, 15u, 23u, 100u, 255u, 260u, 2050u, 2306u, 0x10008u})
        EXPECT_EQ(MapProductId(id), id) << id;
}
