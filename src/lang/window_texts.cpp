#include "lang/window_texts.h"

namespace gyrel {

namespace {

const WindowTexts kItalian = {
    "{done} di {total} frame", "Tempo rimanente", "Inviato", "Ricevuto", "Non riuscito", "Annullato",
    "l'encoder non risponde", "la risposta non è leggibile", "la porta seriale non si apre", "il programma non si può inviare",
    "il programma contiene errori", "&Sì", "&No", "OK", "Annulla",
};

const WindowTexts kEnglish = {
    "{done} of {total} frames", "Time left", "Sent", "Received", "Failed", "Cancelled",
    "the encoder does not answer", "the reply cannot be read", "the serial port cannot be opened", "the program cannot be sent",
    "the program has errors", "&Yes", "&No", "OK", "Cancel",
};

const WindowTexts kFrench = {
    "{done} de {total} trames", "Temps restant", "Envoyé", "Reçu", "Échec", "Annulé",
    "le codeur ne répond pas", "la réponse est illisible", "le port série ne s'ouvre pas", "le programme ne peut pas être envoyé",
    "le programme contient des erreurs", "&Oui", "&Non", "OK", "Annuler",
};

}  // namespace

const WindowTexts& windowTextsFor(const std::string& languageCode) {
    if (languageCode == "FR") return kFrench;
    if (languageCode == "EN" || languageCode == "DE") return kEnglish;
    return kItalian;
}

}  // namespace gyrel
