#include "config/cfg_binary_format.h"
#include "config/cfg_text_format.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

std::string Record(const std::string& name, const std::string& data) {
    return TextOf(*EncodeCfgBinaryRecord(name, BytesOf(data)));
}

const std::string kA1 = Record("a", "1");

struct DecodeCase {
    bool text;
    std::string image;
    ValueMap values;
    bool whole;
};

const DecodeCase kDecodeCases[] = {
    // Text: either line end ends a line, the first "=" separates, the last of a name wins.
    {true, "a=1\rb=x=y\nc=\r\n\r\na=2", {{"a", "2"}, {"b", "x=y"}}, true},
    {true, "n\x03m=line\x01next\x02x\x03y", {{"n=m", "line\nnext\rx=y"}}, true},
    {true, "a=1\r\n\0\0\0"s, {{"a", "1"}}, true}, // the zero-filled rest of a memory block
    {true, "a=1\0\0"s, {{"a", "1\0\0"s}}, true},
    {true, "a=1\n=x\n", {{"a", "1"}}, false},
    {true, "; comment\na=1\n", {{"a", "1"}}, false},
    {true, "a=1\n\0x"s, {{"a", "1"}}, false},
    {true, "\377\376a\0=\0b\0\r\0\n\0"s, {{"\377\376a\0"s, "\0b\0"s}}, false}, // UTF-16
    // Binary: records to the end, or to zero bytes only; the last of a name wins.
    {false, kA1 + Record("e", "") + Record("a", "\0\n"s), {{"a", "\0\n"s}, {"e", ""}}, true},
    {false, kA1 + std::string(11, '\0'), {{"a", "1"}}, true},
    {false, kA1 + "\0\0\0\0\1\0\0\0x"s + Record("b", "2"), {{"a", "1"}}, false},
    {false, kA1 + Record("b", "22").substr(0, 10), {{"a", "1"}}, false},
    {false, kA1 + "\4\0\0\0\374\377\377\377abcde"s, {{"a", "1"}}, false}, // lengths that wrap
};

} // namespace

TEST(CfgFormat, DecodesValuesAndTellsWhetherTheImageWasWhole) {
    for (const DecodeCase& c : kDecodeCases) {
        const Bytes image = BytesOf(c.image);
        const auto decoded = c.text ? DecodeCfgText(image, {}) : DecodeCfgBinary(image);
        ASSERT_TRUE(decoded) << c.image;
        EXPECT_EQ(MapOf(*decoded), c.values) << c.image;
        EXPECT_EQ(decoded->whole, c.whole) << c.image;
        for (const CfgLoadedValue& value : decoded->values)
            EXPECT_EQ(value.type, c.text ? kCfgTypeString : kCfgTypeBinary) << c.image;
    }
    // Separators that would read back as something else are refused.
    EXPECT_FALSE((CfgTextSeparators{'\x03', '\n', '\r'}.IsValid()));
    EXPECT_FALSE((CfgTextSeparators{'=', '=', '\r'}.IsValid()));
}
