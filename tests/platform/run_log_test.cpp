// The run log's file: whole lines in UTF-8, and a log that a line would take past 1 MB is moved
// aside, replacing the one moved aside before.

#include "platform/run_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

} // namespace

TEST(RunLog, ALineThatWouldPassOneMegabyteMovesTheLogAsideInPlaceOfTheOldOne) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "zapdate-run-log-test";
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    const std::filesystem::path log = folder / platform::kRunLogName;
    const std::filesystem::path old = folder / platform::kOldRunLogName;
    std::ofstream(old, std::ios::binary) << "an older run";
    const std::string earlier(platform::kRunLogLimit - 100, 'x');
    std::ofstream(log, std::ios::binary) << earlier;

    platform::CRunLogFile file(folder.wstring() + L"\\");
    file.Append(L"fits");
    EXPECT_EQ(ReadAll(old), "an older run");
    const std::string kept = ReadAll(log);
    EXPECT_EQ(kept.rfind(earlier, 0), 0u);
    EXPECT_TRUE(kept.ends_with("] fits\r\n"));

    file.Append(L"\u00dcbergr\u00f6\u00dfe\nover two lines " + std::wstring(100, L'z'));
    EXPECT_TRUE(ReadAll(old) == kept) << "the whole log moved aside";
    const std::string fresh = ReadAll(log);
    EXPECT_EQ(std::count(fresh.begin(), fresh.end(), '\n'), 1) << fresh;
    EXPECT_NE(fresh.find("] \xC3\x9C"
                         "bergr\xC3\xB6\xC3\x9F"
                         "e over two lines zzz"),
              std::string::npos)
        << fresh;
    std::filesystem::remove_all(folder);
}
