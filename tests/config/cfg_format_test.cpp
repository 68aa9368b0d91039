#include "config/cfg_binary_format.h"
#include "config/cfg_flags.h"
#include "config/cfg_image_limits.h"
#include "config/cfg_text_format.h"
#include "platform/text.h"
#include "tests/config/cfg_test_support.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<std::string, std::string> AsMap(const std::vector<CfgLoadedValue>& values) {
    std::map<std::string, std::string> map;
    for (const CfgLoadedValue& value : values)
        map[value.name] = std::string(value.data.begin(), value.data.end());
    return map;
}

std::map<std::string, std::string> DecodeText(const std::string& image,
                                              const CfgTextSeparators& separators = {}) {
    const Bytes bytes = BytesOf(image);
    const auto values = DecodeCfgText(bytes, separators);
    EXPECT_TRUE(values.has_value());
    return values ? AsMap(*values) : std::map<std::string, std::string>{};
}

Bytes BinaryRecord(const std::string& name, const std::string& data) {
    return *EncodeCfgBinaryRecord(name, BytesOf(data));
}

void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

} // namespace

TEST(CfgTextFormat, EitherLineSeparatorEndsALineAndValuesAreTyped8BitText) {
    const Bytes image = BytesOf("one=1\rtwo=2\nthree=3\r\n\r\n");
    const auto values = DecodeCfgText(image, {});
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 3u);
    for (const CfgLoadedValue& value : *values)
        EXPECT_EQ(value.type, kCfgTypeString);
    EXPECT_EQ(AsMap(*values)["two"], "2");
}

TEST(CfgTextFormat, EscapeBytesStandForTheSeparators) {
    EXPECT_EQ(DecodeText("n\x03m=line\x01next\x02x\x03y"),
              (std::map<std::string, std::string>{{"n=m", "line\nnext\rx=y"}}));
}

TEST(CfgTextFormat, RecordsRoundTripSeparatorsInNamesAndValues) {
    const std::map<std::string, std::string> original = {{"with=sign", "a=b"},
                                                         {"lines", "first\nsecond\r\nthird\r"},
                                                         {"bin", std::string("\0\xff", 2)}};
    Bytes image;
    for (const auto& [name, value] : original) {
        const auto record = EncodeCfgTextRecord(name, BytesOf(value), {});
        ASSERT_TRUE(record);
        Append(image, *record);
    }
    EXPECT_EQ(DecodeText(std::string(image.begin(), image.end())), original);
}

TEST(CfgTextFormat, OtherSeparatorsWorkTheSameWay) {
    const CfgTextSeparators separators{':', ';', ';'};
    ASSERT_TRUE(separators.IsValid());
    const auto record = EncodeCfgTextRecord("a:b", BytesOf("x;y"), separators);
    ASSERT_TRUE(record);
    EXPECT_EQ(std::string(record->begin(), record->end()), "a\x03"
                                                           "b:x\x01y;");
    EXPECT_EQ(DecodeText("a\x03"
                         "b:x\x01y;c:d;",
                         separators),
              (std::map<std::string, std::string>{{"a:b", "x;y"}, {"c", "d"}}));
}

TEST(CfgTextFormat, RefusesWhatWouldNotReadBackTheSame) {
    // A raw escape byte would come back as a separator.
    EXPECT_FALSE(EncodeCfgTextRecord("n", BytesOf("\x01"), {}));
    EXPECT_FALSE(EncodeCfgTextRecord("n\x02", BytesOf("v"), {}));
    EXPECT_FALSE(EncodeCfgTextRecord("", BytesOf("v"), {}));
    // An empty value has no line: it reads as no value at all.
    const auto empty = EncodeCfgTextRecord("n", {}, {});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_FALSE((CfgTextSeparators{'\x01', '\n', '\r'}.IsValid()));
    EXPECT_FALSE((CfgTextSeparators{'=', '=', '\r'}.IsValid()));
}

TEST(CfgTextFormat, LaterLineOfTheSameNameWins) {
    EXPECT_EQ(DecodeText("a=1\na=2\n"), (std::map<std::string, std::string>{{"a", "2"}}));
}

TEST(CfgTextFormat, TooManyRecordsAreRefusedWhole) {
    std::string image;
    for (size_t i = 0; i <= kCfgRecordLimit; ++i)
        image += platform::FormatAnsi("k%u=v\n", static_cast<unsigned>(i));
    EXPECT_FALSE(DecodeCfgText(BytesOf(image), {}));
}

TEST(CfgBinaryFormat, RecordsRoundTripAsBinaryValues) {
    Bytes image = BinaryRecord("name", "value");
    Append(image, BinaryRecord("empty", ""));
    Append(image, BinaryRecord("zeros", std::string("\0\0\n", 3)));
    const auto values = DecodeCfgBinary(image);
    ASSERT_TRUE(values);
    EXPECT_EQ(AsMap(*values),
              (std::map<std::string, std::string>{
                  {"name", "value"}, {"empty", ""}, {"zeros", std::string("\0\0\n", 3)}}));
    for (const CfgLoadedValue& value : *values)
        EXPECT_EQ(value.type, kCfgTypeBinary);
}

TEST(CfgBinaryFormat, ZeroLengthNameEndsTheImage) {
    Bytes image = BinaryRecord("first", "1");
    Append(image, Bytes{0, 0, 0, 0, 1, 0, 0, 0, 'x'});
    Append(image, BinaryRecord("after", "2"));
    const auto values = DecodeCfgBinary(image);
    ASSERT_TRUE(values);
    EXPECT_EQ(AsMap(*values), (std::map<std::string, std::string>{{"first", "1"}}));
    EXPECT_FALSE(EncodeCfgBinaryRecord("", BytesOf("v")));
}

TEST(CfgBinaryFormat, RecordRunningPastTheEndEndsTheImage) {
    Bytes image = BinaryRecord("first", "1");
    Bytes cut = BinaryRecord("second", "22");
    cut.pop_back();
    Append(image, cut);
    EXPECT_EQ(AsMap(*DecodeCfgBinary(image)), (std::map<std::string, std::string>{{"first", "1"}}));

    // Lengths that wrap around when added must not pass as fitting.
    Bytes hostile = BinaryRecord("first", "1");
    Append(hostile, Bytes{4, 0, 0, 0, 0xfc, 0xff, 0xff, 0xff, 'a', 'b', 'c', 'd', 'e'});
    EXPECT_EQ(AsMap(*DecodeCfgBinary(hostile)),
              (std::map<std::string, std::string>{{"first", "1"}}));
    // A header cut short ends it as well.
    EXPECT_TRUE(DecodeCfgBinary(Bytes{5, 0, 0})->empty());
}

TEST(CfgBinaryFormat, TooManyRecordsAreRefusedWhole) {
    Bytes image;
    const Bytes record = BinaryRecord("k", "");
    for (size_t i = 0; i <= kCfgRecordLimit; ++i)
        Append(image, record);
    EXPECT_FALSE(DecodeCfgBinary(image));
}
