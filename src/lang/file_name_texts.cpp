#include "lang/file_name_texts.h"

namespace gyrel {

// Chosen as textSetFor chooses: "FR" French, "EN" and "DE" English, anything else Italian.
const char* nameNotWritableText(const std::string& languageCode) {
    if (languageCode == "FR")
        return "Ce nom de fichier ne peut pas être écrit dans la liste : un caractère n'existe pas en "
               "Windows-1252. Renommer le fichier.";
    if (languageCode == "EN" || languageCode == "DE")
        return "This file name cannot be written into the list: a character does not exist in Windows-1252. "
               "Rename the file.";
    return "Questo nome di file non può essere scritto nella lista: un carattere non esiste in Windows-1252. "
           "Rinominare il file.";
}

}  // namespace gyrel
