#include "platform/background_sha256.h"
#include "platform/sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using platform::ParseSha256Text;
using platform::Sha256Text;

namespace {

constexpr char kAbcDigest[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

} // namespace

TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
    const std::string text = "abc";
    platform::CSha256 pieces;
    for (const char c : text)
        pieces.Add(&c, 1);
    pieces.Add(nullptr, 0);
    const auto digest = pieces.Finish();
    ASSERT_TRUE(digest);
    EXPECT_EQ(Sha256Text(*digest), kAbcDigest);
    EXPECT_FALSE(pieces.Finish()) << "a finished hash gives nothing more";
}

TEST(Sha256, TextIsSixtyFourHexadecimalDigitsOfEitherCase) {
    std::string upper = kAbcDigest;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_TRUE(ParseSha256Text(upper));
    EXPECT_EQ(Sha256Text(*ParseSha256Text(upper)), kAbcDigest);
    const std::string wrong[] = {
        "", std::string(kAbcDigest).substr(1), std::string(kAbcDigest) + "0",
        "g" + std::string(kAbcDigest).substr(1), " " + std::string(kAbcDigest).substr(1)};
    for (const std::string& text : wrong)
        EXPECT_FALSE(ParseSha256Text(text)) << text;
}

TEST(Sha256, BackgroundHashKeepsTheOrderAcrossBlocks) {
    std::vector<uint8_t> bytes(3 * 1024 * 1024 + 12345);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 4093);
    platform::CBackgroundSha256 background;
    for (size_t at = 0; at < bytes.size(); at += 777777)
        background.Add(bytes.data() + at, std::min<size_t>(777777, bytes.size() - at));
    const auto digest = background.Finish();
    ASSERT_TRUE(digest);
    EXPECT_EQ(*digest, platform::Sha256Of(bytes));
}
