#include "i18n/messages.h"

#include <algorithm>

namespace zelvor::i18n {
namespace {

struct MessageRow {
    MessageKey key;
    std::array<std::string_view, kLanguageCount> texts;  // English, German, French, Czech
};

using K = MessageKey;

// One row per key in key order. Several texts end in blanks that the composing
// code relies on. MsgHelpOpenError holds only the prefix and MsgTachoLambda
// nothing: both are composed when a language is applied.
constexpr std::array<MessageRow, kMessageKeyCount> kMessageRows{{
    {K::MsgHelpFile, {"Zelvor_en.pdf", "Zelvor_de.pdf", "Zelvor_fr.pdf", "Zelvor_cz.pdf"}},
    {K::MsgHelpOpenError,
     {"Error by opening file ", "Fehler beim öffnen der Datei ", "Erreur à l´ouvertur du Fichier ",
      "Chyba při otevírání souboru "}},
    {K::MsgComOpenError,
     {"Com opening error!", "Falscher COM-Anschlußes!", "Erreur connections PC!",
      "Chyba při otevírání portu Com!"}},
    {K::MsgProgramProgress, {"Program device:", "Programmieren:", "Programmer:", "Programování:"}},
    {K::MsgVerifyProgress, {"Verify:", "Vergleichen:", "Vérifier:", "Verifikace:"}},
    {K::MsgReadProgress, {"Read:", "Lesen:", "Lire", "Čtení:"}},
    {K::MsgProgramError,
     {"Program error!", "Programmierfehler!", "Erreur de programmation!", "Chyba programování"}},
    {K::MsgVerifyError,
     {"Verify error!", "Vergleichsfehler", "Verifier erreur!", "Chyba verifikace!"}},
    {K::MsgReadError, {"Read error!", "Lesefehler", "Lire erreur!", "Chyba čtení!"}},
    {K::MsgSaving, {"Saving:", "Speicherung:", "Mémorisation", "Ukládání:"}},
    {K::MsgVersionMismatch,
     {"Unmatched version of PC and Ignition programs!",
      "Programm der Zündung ist nicht kompatibel mit dem Programm am PC!",
      "Programme du boitier d´alumage non compatible avec programme PC!",
      "Neshodné verze proramu v PC a v zapalování!"}},
    {K::MsgWrongBike,
     {"This Ignition is not for required motorbike!",
      "Diese Zündung ist nicht for gestellte Motorrad!",
      "This Ignition is not for required motorbike!",
      "Toto zapalování není pro zvolený typ motocyklu!"}},
    {K::MsgAskDefaults,
     {"Do you want default setting?", "Wollen Sie Standardeinstellungen öffnen?",
      "Voulez vous la programation de base?", "Chcete nastavit základní hodnoty?"}},
    {K::MsgOpenFileError,
     {"Open file error!", "Fehler beim öffnen der Datei!", "Erreur ouvertur fichier!",
      "Chyba při otevírání souboru!"}},
    {K::MsgIgnFileVersion,
     {"Unmatched version of *.ign file!", "Datendatei *.ign ist nicht kompatiebel!",
      "Programme du fichier non compatible avec programme PC!", "Neshodná verze souboru *.ign!"}},
    {K::MsgBikeNotSupported,
     {"This version of program Morvant_Max_Power.exe is not for required bike!",
      "Diese Version des Programs Morvant_Max_Power.exe ist nicht für angeforderte Motorrad!",
      "This version of program Morvant_Max_Power.exe is not for required bike!",
      "Tato verze programu Morvant_Max_Power.exe není pro požadovanou motorku!"}},
    {K::MsgBaseAdvance,
     {"Base advance [°]", "Basis Vorzündung [°]", "Avance de base [°]", "Základní předstih [°]"}},
    {K::MsgCylinderCorrection,
     {"Correction for cylinder 1,2", "Korrektion für Zylinder 1,2", "Correction for cylinder 1,2",
      "Korekce pro válec 1,2"}},
    {K::MsgPrintDate,
     {"Date and time of printing:  ", "Zeitpunkt des Ausdruckes   ",
      "Date et heur de l´imprimé:   ", "Datum a čas tisku:  "}},
    {K::MsgPrintError,
     {"Printing failed!", "Fehler beim Drucken!", "Erreur d´impression!", "Chyba při tisku!"}},
    {K::MsgMemoCharacter,
     {"This character cannot be kept in the memo with its code page (see the Language menu): ",
      "Dieses Zeichen kann in der Notiz mit ihrem Zeichensatz nicht gespeichert werden (siehe "
      "Menü Sprache): ",
      "Ce caractère ne peut pas être enregistré dans le mémo avec son jeu de caractères (voir "
      "le menu Langue) : ",
      "Tento znak nelze v poznámce s jejím kódováním uložit (viz nabídka Jazyk): "}},
    {K::MsgStopped, {"stopped", "abgebrochen", "interrompu", "přerušeno"}},
    {K::MsgAskCloseProgramming,
     {"Programming is not finished: the ignition would be left half programmed. Close anyway?",
      "Das Programmieren ist nicht beendet: die Zündung bliebe halb programmiert. Trotzdem "
      "schließen?",
      "La programmation n´est pas terminée: le boîtier resterait à moitié programmé. Fermer "
      "quand même?",
      "Programování není dokončeno: zapalování by zůstalo napůl naprogramované. Přesto zavřít?"}},
    {K::MsgSettingsNotSaved,
     {"The settings and the parameters of this session could not be saved:",
      "Die Einstellungen und Parameter dieser Sitzung konnten nicht gespeichert werden:",
      "Les réglages et les paramètres de cette session n´ont pas pu être enregistrés:",
      "Nastavení a parametry této relace nelze uložit:"}},
    {K::MsgAskSaveParameters,
     {"Save the parameter set to a file?", "Den Parametersatz in eine Datei speichern?",
      "Enregistrer les paramètres dans un fichier?", "Uložit parametry do souboru?"}},
    {K::MsgAdvance, {"Advance", "Vorzündung", "Avance", "Předstih"}},
    {K::MsgProgramCount,
     {"Number of Programing = ", "Programmierungsanzahl = ", "Nombre de programmations = ",
      "Počet programování = "}},
    {K::MsgBlocking, {"Blocking ", "Blockierung ", "Blocage ", "Blokování "}},
    {K::MsgStartLimiter,
     {"Start limiter", "Start Begrenzer", "Limitateur départ", "Startovací omezovač"}},
    {K::MsgIgnLimiter,
     {"Limiter by ignition", "Begrenzer - Zündung", "Limiter by ignition", "Omezovač zápalem"}},
    {K::MsgJetLimiter,
     {"Limiter by injection", "Begrenzer - Einspritz", "Limiter by injection",
      "Omezovač vstřikem"}},
    {K::MsgRetardLimiter,
     {"Limiter by retard", "Begrenzer - Spätzündung", "Limiter by retard", "Omezovač předstihem"}},
    {K::MsgYes, {"YES", "JA", "Oui", "ANO"}},
    {K::MsgNo, {"NO", "NEIN", "Non", "NE"}},
    {K::MsgTwinkle, {"Twinkle", "Blinken", "Twinkle", "Bliká"}},
    {K::MsgPickup, {"Pick-up (CMPS)", "Geber (CMPS)", "Capteur (CMPS)", "Snímač (CMPS)"}},
    {K::MsgRunning, {" is running", " läuft", " fonctionne", " pracuje"}},
    {K::MsgNoSignal, {" no signal", " kein Signal", " pas de signal", " bez signálu"}},
    {K::MsgInjTime, {"Injection time", "Einspritzzeit", "Temp de injection", "Čas vstřiku"}},
    {K::MsgMaxInj, {"Max injection", "Max.Einspritz", "Max injection", "Max. vstřik"}},
    {K::MsgPosition, {"Position", "Lage", "Positon", "Poloha"}},
    {K::MsgGear, {"Gear", "Gang", "Gear", "Rychlost. stupeň"}},
    {K::MsgSpeed, {"Speed", "Geschwindigkeit", "Vitesse", "Rychlost"}},
    {K::MsgGearShiftLight,
     {"Gear Shift Light", "Schaltblitz", "Retard à l´allumage", "Kontrolka řazení"}},
    {K::MsgClutchMaster, {"Clutch master", "Schaltautomat", "Clutch master", "Clutch master"}},
    {K::MsgTachoLambda, {"", "", "", ""}},
    {K::MsgTacho, {"Tacho", "Tacho", "Tacho", "Tacho"}},
    {K::MsgLambda, {"Lambda", "Lambda", "Lambda", "Lambda"}},
    {K::MsgCoolant, {"Coolant", "Kühlflüssigkeit", "Températur moteur", "Teplota vody"}},
    {K::MsgSwitchStart, {"Switch start", "Starttaste", "Switch start", "Tlačítko start"}},
    {K::MsgClutch, {"Clutch", "Kupplung", "Clutch", "Spojka"}},
    {K::MsgIdle, {"Idle", "Ruhestellung", "Idle", "Neutrál"}},
    {K::MsgSideStand, {"Side stand", "Kippständer", "Side stand", "Boční stojánek"}},
    {K::MsgOilOk, {"Oil OK", "Öl in Ordnung", "Oil OK", "Olej v pořádku"}},
    {K::MsgLambdaHeat, {"Lambda heat", "Lambdawärmung", "Lambda heat", "Ohřev lambda"}},
    {K::MsgFan, {"Fan", "Lüfter", "Fan", "Větrák"}},
    {K::MsgFuel, {"Fuel", "Kraftstoff", "Fuel", "Palivo"}},
}};

constexpr bool rowsInKeyOrder() {
    for (std::size_t i = 0; i < kMessageRows.size(); ++i) {
        if (static_cast<std::size_t>(kMessageRows[i].key) != i) return false;
    }
    return true;
}
static_assert(rowsInKeyOrder(), "message rows must follow the MessageKey order");

#define ZELVOR_KEY_NAME(name) #name,
constexpr std::array<std::string_view, kMessageKeyCount> kKeyNames{
    ZELVOR_MESSAGE_KEYS(ZELVOR_KEY_NAME)};
#undef ZELVOR_KEY_NAME

}  // namespace

const std::array<NoConnectionPlaceholder, 24> kNoConnectionPlaceholders{{
    {"LabelMon_Ign", K::MsgAdvance, "= --- [°]"},
    {"LabelPocetProgramovani", K::MsgProgramCount, "---"},
    {"LabelMonBlokOut", K::MsgBlocking, " - ---"},
    {"LabelMonStartLimiterOut", K::MsgStartLimiter, " - ---"},
    {"LabelMonIgnLimiter", K::MsgIgnLimiter, " - ---"},
    {"LabelMonJetLimiter", K::MsgJetLimiter, " - ---"},
    {"LabelMonRetardLimiter", K::MsgRetardLimiter, " - ---"},
    {"LabelSnimacCmps", K::MsgPickup, " - ---"},
    {"LabelMon_Jet_1A", K::MsgInjTime, " 1 = --- us"},
    {"LabelMon_Jet_2A", K::MsgInjTime, " 2 = --- us"},
    {"LabelMaxInjProcent", K::MsgMaxInj, " = --- %"},
    {"LabelMon_PolohaA", K::MsgPosition, " = ---"},
    {"LabelGear", K::MsgGear, " = --- "},
    {"LabelMonSpeed", K::MsgSpeed, " = --- [km/h]"},
    {"LabelMonTlStartIn", K::MsgSwitchStart, " - ---"},
    {"LabelMonTlStartOut", K::MsgSwitchStart, " - ---"},
    {"LabelMonClutchIn", K::MsgClutch, " - ---"},
    {"LabelMonNeutral", K::MsgIdle, " - ---"},
    {"LabelMonSideStand", K::MsgSideStand, " - ---"},
    {"LabelOilOk", K::MsgOilOk, " - ---"},
    {"LabelMonLambdaHeat", K::MsgLambdaHeat, " - ---"},
    {"LabelMonFan1", K::MsgFan, " 1 - ---"},
    {"LabelMonFan2", K::MsgFan, " 2 - ---"},
    {"LabelMonFuelMv", K::MsgFuel, " - ---"},
}};

std::string_view keyName(MessageKey key) {
    return kKeyNames[static_cast<std::size_t>(key)];
}

std::optional<MessageKey> findMessageKey(std::string_view name) {
    const auto it = std::find(kKeyNames.begin(), kKeyNames.end(), name);
    if (it == kKeyNames.end()) return std::nullopt;
    return static_cast<MessageKey>(it - kKeyNames.begin());
}

std::string_view storedVariant(MessageKey key, Language language) {
    const auto lang = std::min(static_cast<std::size_t>(language), kLanguageCount - 1);
    return kMessageRows[static_cast<std::size_t>(key)].texts[lang];
}

void MessageTable::apply(Language language) {
    // A language byte from outside (settings, a damaged dump) may be out of
    // range; it falls back to English like the sanitizer does.
    if (static_cast<std::size_t>(language) >= kLanguageCount) language = Language::English;
    language_ = language;
    for (const MessageRow& row : kMessageRows) {
        texts_[static_cast<std::size_t>(row.key)] = std::string(storedVariant(row.key, language));
    }
    auto& helpError = texts_[static_cast<std::size_t>(K::MsgHelpOpenError)];
    helpError += text(K::MsgHelpFile);
    helpError += " !";
    texts_[static_cast<std::size_t>(K::MsgTachoLambda)] =
        text(K::MsgTacho) + "/" + text(K::MsgLambda);
}

std::vector<std::pair<std::string_view, std::string>> noConnectionTexts(
    const MessageTable& messages) {
    std::vector<std::pair<std::string_view, std::string>> texts;
    texts.reserve(kNoConnectionPlaceholders.size());
    for (const NoConnectionPlaceholder& row : kNoConnectionPlaceholders) {
        texts.emplace_back(row.label, messages.text(row.key) + std::string(row.suffix));
    }
    return texts;
}

}  // namespace zelvor::i18n
