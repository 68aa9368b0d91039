#include "shell/run_mode.h"

#include "shell/command_line.h"
#include "shell/product_id_range.h"

#include <gtest/gtest.h>

namespace {

int g_acknowledged = 0;
void CountAcknowledge() {
    ++g_acknowledged;
}

struct Parsed {
    RunMode mode;
    StartupSettings settings;
};

Parsed Parse(const char* line) {
    Parsed parsed{};
    parsed.mode = DetermineRunModeFromArguments(SplitCommandLine(std::string_view(line)),
                                                parsed.settings, &CountAcknowledge);
    return parsed;
}

} // namespace

struct ModeCase {
    const char* line;
    RunMode mode;
    bool hidden;
    uint32_t resellerId;
    uint32_t productId;
    uint32_t mappedProductId;
    friend void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.line; }
};

class RunModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(RunModeTest, ModeAndSettingsFollowTheFirstArgument) {
    const ModeCase& c = GetParam();
    const Parsed parsed = Parse(c.line);
    EXPECT_EQ(parsed.mode, c.mode);
    EXPECT_EQ(parsed.settings.hidden, c.hidden);
    EXPECT_EQ(parsed.settings.resellerId, c.resellerId);
    EXPECT_EQ(parsed.settings.productId, c.productId);
    EXPECT_EQ(parsed.settings.mappedProductId, c.mappedProductId);
}

constexpr uint32_t kNo = kIdNotGiven;

INSTANTIATE_TEST_SUITE_P(
    CommandLine, RunModeTest,
    ::testing::Values(
        ModeCase{"", RunMode::Usage, false, kNo, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe", RunMode::Normal, false, kNo, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe -?", RunMode::Usage, false, kNo, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe ?x", RunMode::Usage, false, kNo, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe -", RunMode::Normal, false, 0, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe /?", RunMode::Normal, false, 0, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe -HIDEN", RunMode::Normal, false, 0, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe 5 22", RunMode::Normal, false, 5, 22, 22},
        ModeCase{"C:\\Velk\\Zapdate.exe -hiden 5 22", RunMode::Normal, true, 5, 22, 22},
        ModeCase{"C:\\Velk\\Zapdate.exe -hiden", RunMode::Normal, true, kNo, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe -hiden_run 5 17", RunMode::Relaunched, true, 5, 17, 22},
        ModeCase{"C:\\Velk\\Zapdate.exe 7", RunMode::Normal, false, 7, kNo, kNo},
        ModeCase{"C:\\Velk\\Zapdate.exe -1 65558", RunMode::Normal, false, kNo, 65558, 22},
        ModeCase{"C:\\Velk\\Zapdate.exe -velk_update_wizard_delete_temp_folder 5 22",
                 RunMode::CleanUp, false, kNo, kNo, kNo},
        // The switch counts only in first place.
        ModeCase{"C:\\Velk\\Zapdate.exe 5 -velk_update_wizard_delete_temp_folder", RunMode::Normal,
                 false, 5, 0, 6},
        ModeCase{"C:\\Velk\\Zapdate.exe \"\" 5 22", RunMode::Normal, false, kNo, kNo, kNo},
        // A program path that is too short, or whose only backslash leads it, stops the reading.
        ModeCase{"z 5 22", RunMode::Normal, false, kNo, kNo, kNo},
        ModeCase{"\\Zapdate.exe -hiden", RunMode::Normal, false, kNo, kNo, kNo},
        // Started by name from the search path, the arguments are still read.
        ModeCase{"Zapdate.exe -hiden 5 22", RunMode::Normal, true, 5, 22, 22}));

TEST(CommandLine, RunUpdatingSwitchAcknowledgesWhileParsing) {
    g_acknowledged = 0;
    const Parsed parsed = Parse("C:\\t\\Zapdate.exe -velk_update_wizard_run_updating 5 -1");
    EXPECT_EQ(parsed.mode, RunMode::Relaunched);
    EXPECT_FALSE(parsed.settings.hidden);
    EXPECT_EQ(g_acknowledged, 1);
    EXPECT_EQ(parsed.settings.resellerId, 5u);
    EXPECT_FALSE(parsed.settings.IdsPresent());
}

TEST(CommandLine, HiddenRunDoesNotAcknowledge) {
    g_acknowledged = 0;
    Parse("C:\\t\\Zapdate.exe -hiden_run");
    EXPECT_EQ(g_acknowledged, 0);
}

TEST(CommandLine, IdsArePresentOnlyWithResellerAndMappedProduct) {
    EXPECT_TRUE(Parse("C:\\a\\z.exe 5 22").settings.IdsPresent());
    EXPECT_FALSE(Parse("C:\\a\\z.exe 7").settings.IdsPresent());
    EXPECT_FALSE(Parse("C:\\a\\z.exe -1 22").settings.IdsPresent());
}

struct MapCase {
    uint32_t id;
    uint32_t mapped;
    friend void PrintTo(const MapCase& c, std::ostream* os) { *os << c.id; }
};

class ProductIdRangeTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(ProductIdRangeTest, MapsTheLowSixteenBits) {
    EXPECT_EQ(MapProductId(GetParam().id), GetParam().mapped);
}

INSTANTIATE_TEST_SUITE_P(ProductIdRange, ProductIdRangeTest,
                         ::testing::Values(MapCase{17, 22}, MapCase{41, 41}, MapCase{65558, 22},
                                           MapCase{100, 100}, MapCase{0, 6}, MapCase{3, 6},
                                           MapCase{2305, 2304}, MapCase{513, 513},
                                           MapCase{514, 513}, MapCase{48, 47}, MapCase{255, 255}));

TEST(ProductIdRange, TableHasItsTwentyThreeRowsInSearchOrder) {
    ASSERT_EQ(ProductIdRangeTable().size(), 23u);
    EXPECT_EQ(ProductIdRangeTable().front().mappedId, 6u);
    EXPECT_EQ(ProductIdRangeTable().back().low, 2048u);
}
