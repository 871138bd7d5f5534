#include <gtest/gtest.h>

#include "editor/editor_files.h"
#include "lang/texts.h"

namespace gyrel {
namespace {

TEST(CheckModifText, TheFourNoticesWordForWord) {
    const TextSet& en = textSetFor("EN");
    EXPECT_EQ(checkModifText(en, 0), "Work file has been modified !");
    EXPECT_EQ(checkModifText(en, 1), "Work file has been modified ! All modifies WILL BE LOST!\r\n     Continue?");
    EXPECT_EQ(checkModifText(en, 2), "Work file has been modified ! All modifies WILL BE SENT!\r\n     Continue?");
    EXPECT_EQ(checkModifText(en, 3), "Work file has been modified ! \r\nAll modifies WILL BE temporary saved!");
    EXPECT_EQ(checkModifText(textSetFor("IT"), 1),
              "Il file di lavoro è stato modificato ! Tutte le modifiche SARANNO PERSE!\r\n     Continuare?");
}

TEST(ProgramFileFilter, ProposesTheModelsExtension) {
    EXPECT_EQ(programFileFilter("TXT"), "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*");
}

}  // namespace
}  // namespace gyrel
