#include <gtest/gtest.h>

#include <string>

#include "lang/texts.h"

namespace gyrel {
namespace {

TEST(LanguageTexts, CodeChoosesTheSetAndEveryUsedIndexIsFilled) {
    EXPECT_EQ(&textSetFor("DE"), &textSetFor("EN"));
    for (const char* italian : {"IT", "ES", "", "fr"}) EXPECT_EQ(&textSetFor(italian), &textSetFor("IT")) << italian;
    EXPECT_NE(&textSetFor("FR"), &textSetFor("IT"));
    for (const char* code : {"IT", "EN", "FR"}) {
        const TextSet& t = textSetFor(code);
        for (int i = 0; i <= 50; ++i) EXPECT_EQ(std::string(t.msg[i]).empty(), i >= 34 && i <= 46) << code << i;
        for (int i = 0; i <= 30; ++i) EXPECT_EQ(std::string(t.ui[i]).empty(), i == 27) << code << i;
    }
    EXPECT_EQ(sendOutputCaption(textSetFor("IT"), 16), "Invia out 16");
}

}  // namespace
}  // namespace gyrel
