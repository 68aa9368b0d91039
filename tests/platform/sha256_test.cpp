#include "platform/sha256.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

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
    const std::string wrong[] = {"", std::string(kAbcDigest).substr(1), std::string(kAbcDigest) + "0",
                                 "g" + std::string(kAbcDigest).substr(1),
                                 " " + std::string(kAbcDigest).substr(1)};
    for (const std::string& text : wrong)
        EXPECT_FALSE(ParseSha256Text(text)) << text;
}
