#include <gtest/gtest.h>

#include <string>

#include "lang/texts.h"

namespace gyrel {
namespace {

std::string msg(const std::string& code, int i) { return textSetFor(code).msg.at(i); }
std::string ui(const std::string& code, int i) { return textSetFor(code).ui.at(i); }

TEST(LanguageTexts, EnglishSetWordForWord) {
    EXPECT_EQ(msg("EN", 0), "Tutor mode, program acquired from encoder");
    EXPECT_EQ(msg("EN", 1), "Received on ");
    EXPECT_EQ(msg("EN", 6), "Too much parameters");
    EXPECT_EQ(msg("EN", 13), "Using Offsets... ");
    EXPECT_EQ(msg("EN", 19), "Work file has been modified");
    EXPECT_EQ(msg("EN", 27), "Selected memory location on ENCODER,");
    EXPECT_EQ(msg("EN", 28), "is empty. ");
    EXPECT_EQ(msg("EN", 33), "Program 1 value will be cloned to the others");
    EXPECT_EQ(msg("EN", 48), "Imported on ");
    EXPECT_EQ(msg("EN", 49), " from file ");
    EXPECT_EQ(msg("EN", 50), "Program # ");
    EXPECT_EQ(ui("EN", 0), "Exit");
    EXPECT_EQ(ui("EN", 3), "COM port settings");
    EXPECT_EQ(ui("EN", 15), "Send program to encoder (download)");
    EXPECT_EQ(ui("EN", 21), "Pitch       Scale");
    EXPECT_EQ(ui("EN", 30), "Origin");
}

TEST(LanguageTexts, ItalianSetWordForWordWithAccents) {
    EXPECT_EQ(msg("IT", 0), "Modalit\xC3\xA0 autoapprendimento, programma acquisito dall'encoder");
    EXPECT_EQ(msg("IT", 1), "Ricevuto il");  // no trailing space, unlike English
    EXPECT_EQ(msg("IT", 11), "Uscita gi\xC3\xA0 alzata");
    EXPECT_EQ(msg("IT", 19), "Il file di lavoro \xC3\xA8 stato modificato");
    EXPECT_EQ(msg("IT", 27), "La posizione di memoria attualmente selezionata ");
    EXPECT_EQ(msg("IT", 28), "nell'ENCODER non \xC3\xA8 mai stata inserita. ");
    EXPECT_EQ(msg("IT", 33), "Il valore del progr 1 sar\xC3\xA0 copiato negli altri");
    EXPECT_EQ(msg("IT", 50), "Programma # ");
    EXPECT_EQ(ui("IT", 0), "Esci");
    EXPECT_EQ(ui("IT", 15), "Invia programma all'encoder (download)");
    EXPECT_EQ(ui("IT", 21), "Passo       Scala");
    EXPECT_EQ(ui("IT", 29), "Preset");
    EXPECT_EQ(ui("IT", 30), "Origine");
}

TEST(LanguageTexts, FrenchSetKeepsSomeEnglishTexts) {
    EXPECT_EQ(msg("FR", 2), "Valeur ON nescessaire");
    EXPECT_EQ(msg("FR", 5), "Valeur \xC3\xA9rron\xC3\xA9" "e");
    EXPECT_EQ(msg("FR", 11), "Sortie vient d'\xC3\xAAtre ON");
    EXPECT_EQ(msg("FR", 13), "Utilise d\xC3\xA9" "calages...");
    EXPECT_EQ(msg("FR", 20), "Toutes les modif. VONT ETRE");
    EXPECT_EQ(msg("FR", 31), "will be setted to zero");
    EXPECT_EQ(ui("FR", 0), "Sortie");
    EXPECT_EQ(ui("FR", 3), "COM Port settings");
    // Left in English by the French set.
    EXPECT_EQ(ui("FR", 1), "Programming");
    EXPECT_EQ(msg("FR", 26), "Empty Program");
    EXPECT_EQ(msg("FR", 27), "Selected memory location on ENCODER,");
    EXPECT_EQ(msg("FR", 28), "is empty. ");
    EXPECT_EQ(msg("FR", 29), "Send a program at this location.");
}

TEST(LanguageTexts, CodeChoosesTheSet) {
    EXPECT_EQ(&textSetFor("DE"), &textSetFor("EN"));
    EXPECT_EQ(ui("DE", 0), "Exit");
    EXPECT_EQ(&textSetFor("ES"), &textSetFor("IT"));
    EXPECT_EQ(ui("ES", 0), "Esci");
    EXPECT_EQ(ui("", 0), "Esci");
    // Codes are compared exactly: a lower-case code is not French.
    EXPECT_EQ(ui("fr", 0), "Esci");
}

TEST(LanguageTexts, UnusedIndicesStayEmptyAndUsedOnesAreFilled) {
    for (const char* code : {"IT", "EN", "FR"}) {
        const TextSet& t = textSetFor(code);
        for (int i = 0; i <= 50; ++i) {
            const bool unused = i >= 34 && i <= 46;
            EXPECT_EQ(std::string(t.msg[i]).empty(), unused) << code << " MsgText " << i;
        }
        for (int i = 0; i <= 30; ++i)
            EXPECT_EQ(std::string(t.ui[i]).empty(), i == 27) << code << " UiText " << i;
    }
}

TEST(LanguageTexts, OutputButtonCaption) {
    EXPECT_EQ(sendOutputCaption(textSetFor("EN"), 1), "Send out 1");
    EXPECT_EQ(sendOutputCaption(textSetFor("IT"), 16), "Invia out 16");
    EXPECT_EQ(sendOutputCaption(textSetFor("FR"), 9), "Send out 9");
}

}  // namespace
}  // namespace gyrel
