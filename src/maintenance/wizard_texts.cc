#include "maintenance/wizard_texts.h"

#include <array>

#include "app/core/compose.h"

namespace kvqt {
namespace {

struct Entry {
  int id;
  std::array<const char*, 3> text;  // English, Dutch, French
};

constexpr Entry kTexts[] = {
    {kTextWelcome,
     {"Welcome to Norvale Korvane, from Norvale group.",
      "Welkom bij Norvale Korvane, van Norvale group.",
      "Bienvenue dans Norvale Korvane, de Norvale group."}},
    {kTextDescription,
     {"Norvale Korvane downloads stock quotes over the internet and imports them straight into your analysis "
      "program, back-office system or spreadsheet. This wizard sets the program up in a few steps.",
      "Norvale Korvane haalt koersen via internet op en zet ze direct in uw analyseprogramma, back-office "
      "systeem of spreadsheet. Deze wizard stelt het programma in een paar stappen in.",
      "Norvale Korvane t\u00e9l\u00e9charge les cours de bourse par internet et les importe directement dans "
      "votre programme d'analyse, votre syst\u00e8me de back-office ou votre tableur. Cet assistant configure "
      "le programme en quelques \u00e9tapes."}},
    {kTextBack, {"&Back...", "&Vorige...", "&Pr\u00e9c\u00e9dent..."}},
    {kTextNext, {"&Next...", "V&olgende...", "&Suivant..."}},
    {kTextCancel, {"Cancel", "Annuleren", "Annuler"}},
    {kTextFinish, {"&Finish", "Vol&tooien", "&Terminer"}},
    {kTextUserNumberHelp,
     {"Enter the 5-digit user number you received from Norvale group.",
      "Vul het gebruikersnummer van 5 cijfers in dat u van Norvale group hebt ontvangen.",
      "Saisissez le num\u00e9ro d'utilisateur \u00e0 5 chiffres que vous avez re\u00e7u de Norvale group."}},
    {kTextUserNumberLabel, {"&User number", "&Gebruikersnummer", "Num\u00e9ro d'&utilisateur"}},
    {kTextPasswordHelp,
     {"Enter your password of 8 characters, in small letters.",
      "Vul uw wachtwoord van 8 tekens in, in kleine letters.",
      "Saisissez votre mot de passe de 8 caract\u00e8res, en minuscules."}},
    {kTextPasswordLabel, {"&Password", "&Wachtwoord", "&Mot de passe"}},
    {kTextLostLogin,
     {"Lost your user number or password? Contact the Norvale group helpdesk: helpdesk@norvale.example, "
      "telephone +31 20 555 0100 (working days 9:00 to 17:00).",
      "Gebruikersnummer of wachtwoord kwijt? Neem contact op met de helpdesk van Norvale group: "
      "helpdesk@norvale.example, telefoon +31 20 555 0100 (werkdagen 9:00 tot 17:00).",
      "Num\u00e9ro d'utilisateur ou mot de passe perdu ? Contactez le service d'assistance de Norvale group : "
      "helpdesk@norvale.example, t\u00e9l\u00e9phone +31 20 555 0100 (jours ouvrables de 9h00 \u00e0 17h00)."}},
    {kTextFormatsHelp,
     {"Which analysis program or data format do you use? Tick every format you want the quotes in.",
      "Welk analyseprogramma of dataformaat gebruikt u? Vink elk formaat aan waarin u de koersen wilt "
      "ontvangen.",
      "Quel programme d'analyse ou format de donn\u00e9es utilisez-vous ? Cochez chaque format dans lequel "
      "vous voulez recevoir les cours."}},
    {kTextConfigured,
     {"Norvale Korvane is now configured.", "Norvale Korvane is nu ingesteld.",
      "Norvale Korvane est maintenant configur\u00e9."}},
    {kTextToolbar,
     {"The leftmost button of the toolbar opens the file manager with the symbol catalogue, where you choose "
      "the instruments; the rightmost button starts a download.",
      "De meest linkse knop van de werkbalk opent het bestandsbeheer met de symbolencatalogus, waar u de "
      "fondsen kiest; de meest rechtse knop start een download.",
      "Le bouton le plus \u00e0 gauche de la barre d'outils ouvre le gestionnaire de fichiers avec le "
      "catalogue des symboles, o\u00f9 vous choisissez les valeurs ; le bouton le plus \u00e0 droite lance un "
      "t\u00e9l\u00e9chargement."}},
    {kTextConnects,
     {"The program connects to the internet by itself whenever it needs to.",
      "Het programma maakt zelf verbinding met internet wanneer dat nodig is.",
      "Le programme se connecte lui-m\u00eame \u00e0 internet quand il le faut."}},
    {kTextDataDirectoryHelp,
     {"Where should the data of this format be stored? A directory is proposed; change it if you like, then "
      "press Add... to put it in the list. Every directory in the list is set up when you press Next.",
      "Waar moeten de gegevens van dit formaat worden opgeslagen? Er wordt een directory voorgesteld; pas die "
      "zo nodig aan en druk op Toevoegen... om hem in de lijst te zetten. Elke directory in de lijst wordt "
      "ingesteld wanneer u op Volgende drukt.",
      "O\u00f9 faut-il enregistrer les donn\u00e9es de ce format ? Un r\u00e9pertoire est propos\u00e9 ; "
      "modifiez-le si vous le souhaitez, puis appuyez sur Ajouter... pour le mettre dans la liste. Chaque "
      "r\u00e9pertoire de la liste est configur\u00e9 quand vous appuyez sur Suivant."}},
    {kTextProgramFolderHelp,
     {"Where is the analysis program installed? Give the folder that holds Orvista 2000.",
      "Waar is het analyseprogramma ge\u00efnstalleerd? Geef de map waarin Orvista 2000 staat.",
      "O\u00f9 le programme d'analyse est-il install\u00e9 ? Indiquez le dossier qui contient Orvista 2000."}},
    {kTextAdd, {"Add...", "Toevoegen...", "Ajouter..."}},
    {kTextBrowse, {"Browse...", "Bladeren...", "Parcourir..."}},
    {kTextSearch, {"Search...", "Zoeken...", "Rechercher..."}},
    {kTextDelete, {"Delete...", "Verwijderen...", "Supprimer..."}},
    {kTextStopSearch, {"Cancel", "Annuleren", "Annuler"}},
    {kTextDataFormat, {"Data format", "Dataformaat", "Format de donn\u00e9es"}},

    {kErrorInvalidDirectoryName,
     {"ERROR: %s is not a valid directory name", "FOUT: %s is geen geldige directorynaam",
      "ERREUR : %s n'est pas un nom de r\u00e9pertoire valide"}},
    {kQuestionCreateDirectory,
     {"Directory %s does not exist. Create it now?", "Directory %s bestaat niet. Nu aanmaken?",
      "Le r\u00e9pertoire %s n'existe pas. Le cr\u00e9er maintenant ?"}},
    {kErrorCannotCreateDirectory,
     {"ERROR: Unable to create directory %s", "FOUT: Kan directory %s niet aanmaken",
      "ERREUR : Impossible de cr\u00e9er le r\u00e9pertoire %s"}},
    {kErrorNotADirectory,
     {"ERROR: %s exists and is not a directory", "FOUT: %s bestaat en is geen directory",
      "ERREUR : %s existe et n'est pas un r\u00e9pertoire"}},
    {kErrorHoldsDifferentFormat,
     {"ERROR: %s already holds a different format", "FOUT: %s bevat al een ander formaat",
      "ERREUR : %s contient d\u00e9j\u00e0 un autre format"}},
    {kErrorDirectoryMissing,
     {"ERROR: Directory %s does not exist", "FOUT: Directory %s bestaat niet",
      "ERREUR : Le r\u00e9pertoire %s n'existe pas"}},
    {kErrorLacksFormat,
     {"ERROR: %s does not contain this format", "FOUT: %s bevat dit formaat niet",
      "ERREUR : %s ne contient pas ce format"}},
    {kErrorContainsDifferentFormat,
     {"ERROR: %s contains a different format", "FOUT: %s bevat een ander formaat",
      "ERREUR : %s contient un autre format"}},
    {kErrorOrvistaProgramMissing,
     {"ERROR: The Orvista 2000 program was not found in the given directory",
      "FOUT: Het programma Orvista 2000 is niet gevonden in de opgegeven directory",
      "ERREUR : Le programme Orvista 2000 est introuvable dans le r\u00e9pertoire indiqu\u00e9"}},
    {kErrorInvalidUserName,
     {"ERROR: Invalid user name", "FOUT: Ongeldige gebruikersnaam", "ERREUR : Nom d'utilisateur non valide"}},
    {kErrorInvalidPassword,
     {"ERROR: Invalid password", "FOUT: Ongeldig wachtwoord", "ERREUR : Mot de passe non valide"}},
    {kStatusScanning, {"scanning %s", "scanning %s", "scanner %s"}},
};

}  // namespace

int WizardLanguage(int language) { return language == kWizardDutch || language == kWizardFrench ? language : 0; }

std::string WizardText(int baseId, int language) {
  for (const Entry& entry : kTexts)
    if (entry.id == baseId) return entry.text[WizardLanguage(language)];
  return std::string();
}

std::string WizardMessage(int baseId, int language, std::string_view inserted) {
  std::string text = WizardText(baseId, language);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, inserted.substr(0, kInsertedTextLimit));
  return text;
}

}  // namespace kvqt
