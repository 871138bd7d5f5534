#include <gtest/gtest.h>

#include <string>

#include "platform/cp1252.h"

namespace gyrel {
namespace {

TEST(Cp1252, AsciiAndLatin1RangeMapToTheSameCodePoints) {
    EXPECT_EQ(cp1252ToUtf8("ON 1 100 200\r\n"), "ON 1 100 200\r\n");
    // 0xE0 a grave, 0xE8 e grave, 0xB0 degree sign, 0xFF y diaeresis.
    EXPECT_EQ(cp1252ToUtf8("Modalit\xE0 \xE8 90\xB0 \xFF"), "Modalit\xC3\xA0 \xC3\xA8 90\xC2\xB0 \xC3\xBF");
    EXPECT_EQ(utf8ToCp1252("Modalit\xC3\xA0 \xC3\xA8 90\xC2\xB0"), "Modalit\xE0 \xE8 90\xB0");
}

TEST(Cp1252, HighControlRangeDiffersFromLatin1) {
    // Euro sign, low double quote, ellipsis, curly quotes, en and em dash, trade mark.
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(cp1252ToUtf8("\x84\x85"), "\xE2\x80\x9E\xE2\x80\xA6");
    EXPECT_EQ(cp1252ToUtf8("\x93x\x94"), "\xE2\x80\x9Cx\xE2\x80\x9D");
    EXPECT_EQ(cp1252ToUtf8("\x96\x97\x99"), "\xE2\x80\x93\xE2\x80\x94\xE2\x84\xA2");
    EXPECT_EQ(cp1252ToUtf8("\x8A\x9F"), "\xC5\xA0\xC5\xB8");  // S caron, Y diaeresis
    EXPECT_EQ(utf8ToCp1252("\xE2\x82\xAC 5 \xE2\x80\x93 6"), "\x80 5 \x96 6");
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    // The undefined bytes come out as the C1 controls of the same value.
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(Cp1252, UnrepresentableAndMalformedInputBecomesTheReplacement) {
    // Greek alpha, a CJK character and an emoji have no byte in the code page.
    EXPECT_EQ(utf8ToCp1252("a\xCE\xB1" "b\xE4\xB8\xAD" "c\xF0\x9F\x98\x80" "d"), "a?b?c?d");
    // Latin-1 C1 code points that Windows-1252 spends on printable characters.
    EXPECT_EQ(utf8ToCp1252("\xC2\x80\xC2\x96"), "??");
    // A lone continuation byte, a lead byte cut short at the end, an overlong form,
    // an encoded surrogate.
    EXPECT_EQ(utf8ToCp1252("x\x80y"), "x?y");
    EXPECT_EQ(utf8ToCp1252("x\xE2\x82"), "x??");
    EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80", '#'), "###");
    EXPECT_EQ(utf8ToCp1252(""), "");
}

}  // namespace
}  // namespace gyrel
