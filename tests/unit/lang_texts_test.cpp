#include <gtest/gtest.h>

#include <string>

#include "lang/texts.h"

namespace gyrel {
namespace {

TEST(LanguageTexts, CodeChoosesTheSetExactly) {
    EXPECT_EQ(&textSetFor("DE"), &textSetFor("EN"));
    for (const char* italian : {"IT", "ES", "", "fr"}) EXPECT_EQ(&textSetFor(italian), &textSetFor("IT")) << italian;
    EXPECT_NE(&textSetFor("FR"), &textSetFor("IT"));
    EXPECT_NE(&textSetFor("EN"), &textSetFor("IT"));
}

TEST(LanguageTexts, UnusedIndicesStayEmptyAndUsedOnesAreFilled) {
    for (const char* code : {"IT", "EN", "FR"}) {
        const TextSet& t = textSetFor(code);
        for (int i = 0; i <= 50; ++i)
            EXPECT_EQ(std::string(t.msg[i]).empty(), i >= 34 && i <= 46) << code << " MsgText " << i;
        for (int i = 0; i <= 30; ++i) EXPECT_EQ(std::string(t.ui[i]).empty(), i == 27) << code << " UiText " << i;
    }
}

TEST(LanguageTexts, OutputButtonCaption) {
    EXPECT_EQ(sendOutputCaption(textSetFor("EN"), 1), "Send out 1");
    EXPECT_EQ(sendOutputCaption(textSetFor("IT"), 16), "Invia out 16");
}

}  // namespace
}  // namespace gyrel
