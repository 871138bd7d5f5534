#include "lang/safety_texts.h"

namespace gyrel {

namespace {

const SafetyTexts kItalian = {
    "Salva copia dell'encoder…",
    "Ripristina encoder…",
    "Confronta encoder con lista…",
    "Verifica dopo la trasmissione",
    "Copia dell'encoder",
    "Ripristino dell'encoder",
    "Confronto con l'encoder",
    "Programma %1 di 16",
    "mancano %1 s",
    "Questo modello non può rinviare i programmi.",
    "La cartella esiste già: scegline una nuova.",
    "Copia completa.",
    "Copia non eseguita: nessuna cartella scritta.",
    "Verranno scritti nell'encoder:",
    "Procedere?",
    "Programma %1:",
    "vuoto nella copia, lasciato com'è",
    "scritto e verificato",
    "scritto, ma diverso alla rilettura",
    "non scritto",
    "lettura fallita",
    "annullato",
    "preset e origini scritti",
    "preset e origini non scritti",
    "Ripristino completo e verificato.",
    "Ripristino non completo.",
    "Il programma %1 è diverso nell'encoder dopo la trasmissione",
    "Il programma %1 non si è potuto rileggere",
    "vuoto nell'encoder",
    "file mancante",
    "file errato",
    "uguale",
    "diverso",
    "vuoto in entrambi",
    "non vuoto nell'encoder",
    "non in lista",
    "Salva…",
    "Chiudi",
    "Prog.",
    "Stato",
    "Dettaglio",
    "scritto, non verificato",
};

const SafetyTexts kEnglish = {
    "Back up device…",
    "Restore device…",
    "Compare device with list…",
    "Verify after download",
    "Device backup",
    "Device restore",
    "Compare with the device",
    "Slot %1 of 16",
    "%1 s left",
    "This model cannot send its programs back.",
    "The folder already exists: choose a new one.",
    "Backup complete.",
    "Backup not made: no folder was written.",
    "These will be written into the device:",
    "Go ahead?",
    "Slot %1:",
    "empty in the backup, left alone",
    "written and verified",
    "written, but differs when read back",
    "not written",
    "read failed",
    "cancelled",
    "presets and origins written",
    "presets and origins not written",
    "Restore complete and verified.",
    "Restore not complete.",
    "Program %1 differs from the device after the download",
    "Program %1 could not be read back",
    "empty on the device",
    "file missing",
    "file fails its check",
    "same",
    "differs",
    "empty on both",
    "not empty on the device",
    "not listed",
    "Save…",
    "Close",
    "Slot",
    "State",
    "Detail",
    "written, not verified",
};

const SafetyTexts kFrench = {
    "Sauvegarder le codeur…",
    "Restaurer le codeur…",
    "Comparer le codeur avec la liste…",
    "Vérifier après le transfert",
    "Sauvegarde du codeur",
    "Restauration du codeur",
    "Comparaison avec le codeur",
    "Programme %1 sur 16",
    "encore %1 s",
    "Ce modèle ne peut pas renvoyer ses programmes.",
    "Le dossier existe déjà : choisissez-en un nouveau.",
    "Sauvegarde terminée.",
    "Sauvegarde non faite : aucun dossier écrit.",
    "Seront écrits dans le codeur :",
    "Continuer ?",
    "Programme %1 :",
    "vide dans la sauvegarde, laissé tel quel",
    "écrit et vérifié",
    "écrit, mais différent à la relecture",
    "non écrit",
    "lecture échouée",
    "annulé",
    "presets et origines écrits",
    "presets et origines non écrits",
    "Restauration terminée et vérifiée.",
    "Restauration incomplète.",
    "Le programme %1 diffère dans le codeur après le transfert",
    "Le programme %1 n'a pas pu être relu",
    "vide dans le codeur",
    "fichier manquant",
    "fichier en erreur",
    "identique",
    "différent",
    "vide des deux côtés",
    "non vide dans le codeur",
    "hors liste",
    "Enregistrer…",
    "Fermer",
    "Prog.",
    "État",
    "Détail",
    "écrit, non vérifié",
};

}  // namespace

const SafetyTexts& safetyTextsFor(const std::string& languageCode) {
    if (languageCode == "FR") return kFrench;
    if (languageCode == "EN" || languageCode == "DE") return kEnglish;
    return kItalian;
}

std::string withNumber(const char* text, long long n) {
    std::string t = text;
    const std::string v = std::to_string(n);
    for (std::size_t at = t.find("%1"); at != std::string::npos; at = t.find("%1", at + v.size()))
        t.replace(at, 2, v);
    return t;
}

}  // namespace gyrel
