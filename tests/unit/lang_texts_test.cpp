#include <gtest/gtest.h>

#include <string>

#include "lang/texts.h"
#include "platform/cp1252.h"

namespace gyrel {
namespace {

TEST(LanguageTexts, CodeChoosesTheSet) {
    EXPECT_EQ(&textSetFor("DE"), &textSetFor("EN"));
    for (const char* italian : {"IT", "ES", "", "fr"}) EXPECT_EQ(&textSetFor(italian), &textSetFor("IT")) << italian;
    EXPECT_NE(&textSetFor("FR"), &textSetFor("IT"));
    EXPECT_NE(&textSetFor("FR"), &textSetFor("EN"));
    EXPECT_EQ(sendOutputCaption(textSetFor("IT"), 16), "Invia out 16");
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripTheHighRangeDiffersFromLatin1AndTheRestIsReplaced) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    const std::pair<const char*, const char*> rows[] = {
        {"Modalit\xE0 90\xB0 \xFF", "Modalit\xC3\xA0 90\xC2\xB0 \xC3\xBF"},  // a grave, degree sign, y diaeresis
        {"\x80", "\xE2\x82\xAC"},                                            // euro sign
        {"\x84\x85\x93\x94", "\xE2\x80\x9E\xE2\x80\xA6\xE2\x80\x9C\xE2\x80\x9D"},
        {"\x96\x97\x99", "\xE2\x80\x93\xE2\x80\x94\xE2\x84\xA2"},              // en and em dash, trade mark
        {"\x8A\x9F", "\xC5\xA0\xC5\xB8"},                                      // S caron, Y diaeresis
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined: C1 controls
    };
    for (const auto& [cp, utf8] : rows) {
        EXPECT_EQ(cp1252ToUtf8(cp), utf8) << cp;
        EXPECT_EQ(utf8ToCp1252(utf8), cp) << cp;
    }
    // Unrepresentable and malformed input becomes the replacement character.
    const std::pair<const char*, const char*> others[] = {
        // Greek alpha, a CJK character and an emoji have no byte in the code page.
        {"a\xCE\xB1" "b\xE4\xB8\xAD" "c\xF0\x9F\x98\x80" "d", "a?b?c?d"},
        {"\xC2\x80\xC2\x96", "??"},  // C1 code points Windows-1252 spends on printable characters
        {"x\x80y", "x?y"},           // a lone continuation byte
        {"x\xE2\x82", "x??"},        // cut short at the end
        {"\xC0\xAF", "??"},          // overlong
        {"", ""},
    };
    for (const auto& [utf8, cp] : others) EXPECT_EQ(utf8ToCp1252(utf8), cp) << utf8;
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80", '#'), "###");  // an encoded surrogate
}

}  // namespace
}  // namespace gyrel
