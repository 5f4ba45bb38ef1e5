#include "i18n/tool_texts.h"

namespace zelvor::i18n {
namespace {

struct ToolTextRow {
    ToolText key;
    std::array<std::string_view, kLanguageCount> texts;  // English, German, French, Czech
};

using T = ToolText;

// One row per key, in key order. Several texts start with a line break or a
// blank: they are appended to another text.
constexpr std::array<ToolTextRow, kToolTextCount> kRows{{
    // The compare panel and the drift button.
    {T::CompareTitle, {"Compare", "Vergleich", "Comparaison", "Porovnání"}},
    {T::CompareColumnField, {"Field", "Feld", "Champ", "Položka"}},
    {T::CompareColumnThis, {"This tune", "Diese Abstimmung", "Ce réglage", "Toto nastavení"}},
    {T::CompareColumnReference, {"Reference", "Referenz", "Référence", "Reference"}},
    {T::CompareTake, {"&Take", "Ü&bernehmen", "P&rendre", "Převzí&t"}},
    {T::CompareTakeHint,
     {"Take the reference value of the chosen row or page (Enter)",
      "Den Referenzwert der gewählten Zeile oder Seite übernehmen (Enter)",
      "Prendre la valeur de référence de la ligne ou de la page choisie (Entrée)",
      "Převzít referenční hodnotu zvoleného řádku nebo stránky (Enter)"}},
    {T::CompareTakeAll, {"Take &all", "&Alle übernehmen", "&Tout prendre", "Převzít vš&e"}},
    {T::CompareTakeAllHint,
     {"Take every reference value", "Alle Referenzwerte übernehmen",
      "Prendre toutes les valeurs de référence", "Převzít všechny referenční hodnoty"}},
    {T::CompareClose, {"Cl&ose", "Schl&ießen", "Fer&mer", "&Konec"}},
    {T::CompareCloseHint,
     {"End the comparison (Escape)", "Den Vergleich beenden (Escape)",
      "Terminer la comparaison (Échap)", "Ukončit porovnání (Escape)"}},
    {T::CompareSame,
     {"Same as %1.", "Keine Unterschiede zu %1.", "Aucune différence avec %1.",
      "Žádný rozdíl oproti %1."}},
    {T::CompareOneDifference,
     {"1 difference to %1.", "1 Unterschied zu %1.", "1 différence avec %1.",
      "1 rozdíl oproti %1."}},
    {T::CompareDifferences,
     {"%1 differences to %2.", "%1 Unterschiede zu %2.", "%1 différences avec %2.",
      "Rozdílů oproti %2: %1."}},
    {T::CompareOtherPage, {"Other", "Sonstige", "Autres", "Ostatní"}},
    {T::CompareCellPlace,
     {"Throttle %1 %, column %2", "Drosselklappe %1 %, Spalte %2", "Papillon %1 %, colonne %2",
      "Plyn %1 %, sloupec %2"}},
    {T::CompareUnitName, {"the unit", "der Zündbox", "le boîtier", "zapalování"}},
    {T::DriftOneChange,
     {"1 change not in the unit", "1 Änderung nicht in der Zündbox",
      "1 modification absente du boîtier", "1 změna není v zapalování"}},
    {T::DriftChanges,
     {"%1 changes not in the unit", "%1 Änderungen nicht in der Zündbox",
      "%1 modifications absentes du boîtier", "Změn mimo zapalování: %1"}},
    {T::DriftHint,
     {"Compare with what the unit holds", "Mit dem Inhalt der Zündbox vergleichen",
      "Comparer avec le contenu du boîtier", "Porovnat s obsahem zapalování"}},

    // The history dialog.
    {T::HistoryTitle, {"History", "Verlauf", "Historique", "Historie"}},
    {T::HistoryAllUnits,
     {"all units", "alle Zündboxen", "tous les boîtiers", "všechna zapalování"}},
    {T::HistoryUnit, {"&Unit:", "&Zündbox:", "&Boîtier :", "&Zapalování:"}},
    {T::HistoryRestore, {"&Restore", "&Wiederherstellen", "&Restaurer", "&Obnovit"}},
    {T::HistoryCompare, {"&Compare", "&Vergleichen", "&Comparer", "&Porovnat"}},
    {T::HistoryExport, {"&Export…", "&Exportieren…", "&Exporter…", "&Exportovat…"}},
    {T::HistoryClose, {"Close", "Schließen", "Fermer", "Zavřít"}},
    {T::HistoryWritten,
     {"Snapshot written to %1.", "Stand gespeichert in %1.", "Instantané écrit dans %1.",
      "Snímek zapsán do %1."}},
    {T::HistoryCorrected,
     {" Values out of range were brought into range.",
      " Werte außerhalb des Bereichs wurden in den Bereich gebracht.",
      " Les valeurs hors limites ont été ramenées dans les limites.",
      " Hodnoty mimo rozsah byly upraveny do rozsahu."}},
    {T::HistoryNotKept,
     {"The history could not keep this image: %1",
      "Der Verlauf konnte diesen Stand nicht aufbewahren: %1",
      "L'historique n'a pas pu conserver ce réglage : %1",
      "Historie nemohla uložit tento stav: %1"}},
    {T::HistoryColumnTime, {"Time", "Zeit", "Heure", "Čas"}},
    {T::HistoryColumnEvent, {"Event", "Ereignis", "Événement", "Událost"}},
    {T::HistoryColumnUnit, {"Unit", "Zündbox", "Boîtier", "Zapalování"}},
    {T::HistoryColumnFile, {"File", "Datei", "Fichier", "Soubor"}},

    // The marker dialog of a recording.
    {T::MarkerTitle, {"Marker %1", "Markierung %1", "Repère %1", "Značka %1"}},
    {T::MarkerComment,
     {"Comment (optional)", "Kommentar (optional)", "Commentaire (facultatif)",
      "Komentář (nepovinný)"}},
    {T::MarkerNoComment, {"No comment", "Ohne Kommentar", "Sans commentaire", "Bez komentáře"}},
    {T::MarkerHelp,
     {"Enter sets the marker with this comment, Esc without.",
      "Enter setzt die Markierung mit diesem Kommentar, Esc ohne.",
      "Entrée pose le repère avec ce commentaire, Échap sans.",
      "Enter vloží značku s tímto komentářem, Esc bez něj."}},

    // The log view.
    {T::LogTitle, {"Log", "Aufzeichnung", "Journal", "Záznam"}},
    {T::LogTitleNamed,
     {"Log \u2013 %1", "Aufzeichnung \u2013 %1", "Journal \u2013 %1", "Záznam \u2013 %1"}},
    {T::LogPlay, {"Play", "Abspielen", "Lecture", "Přehrát"}},
    {T::LogPause, {"Pause", "Pause", "Pause", "Pozastavit"}},
    {T::LogPlayHint,
     {"Play or pause (Space)", "Abspielen oder anhalten (Leertaste)", "Lecture ou pause (Espace)",
      "Přehrát nebo pozastavit (mezerník)"}},
    {T::LogLive, {"Live", "Live", "Direct", "Živě"}},
    {T::LogLiveHint,
     {"Show the unit's live values again (Esc)", "Wieder die Live-Werte der Zündbox zeigen (Esc)",
      "Afficher à nouveau les valeurs en direct du boîtier (Échap)",
      "Znovu zobrazit živé hodnoty zapalování (Esc)"}},
    {T::LogHelp,
     {"Wheel: zoom  Drag: pan  Click, \u2190 \u2192: cursor  Space: play",
      "Rad: Zoom  Ziehen: Verschieben  Klick, \u2190 \u2192: Cursor  Leertaste: Abspielen",
      "Molette : zoom  Glisser : défiler  Clic, \u2190 \u2192 : curseur  Espace : lecture",
      "Kolečko: zoom  Tažení: posun  Klik, \u2190 \u2192: kurzor  Mezerník: přehrát"}},
    {T::LogRows, {"%1 rows", "%1 Zeilen", "%1 lignes", "Řádků: %1"}},
    {T::LogPosition,
     {"%1 s  row %2 of %3", "%1 s  Zeile %2 von %3", "%1 s  ligne %2 sur %3",
      "%1 s  řádek %2 z %3"}},

    // Recording and opening ride logs.
    {T::RideFolderFailed,
     {"The ride cannot be recorded: the folder %1 cannot be made.",
      "Die Fahrt kann nicht aufgezeichnet werden: der Ordner %1 lässt sich nicht anlegen.",
      "Le trajet ne peut pas être enregistré : le dossier %1 ne peut pas être créé.",
      "Jízdu nelze nahrát: složku %1 nelze vytvořit."}},
    {T::RideCannotRecord,
     {"The ride cannot be recorded:\n%1", "Die Fahrt kann nicht aufgezeichnet werden:\n%1",
      "Le trajet ne peut pas être enregistré :\n%1", "Jízdu nelze nahrát:\n%1"}},
    {T::RideStopped,
     {"The recording stopped: %1\nThe rows before it are in %2.",
      "Die Aufzeichnung ist abgebrochen: %1\nDie Zeilen davor stehen in %2.",
      "L'enregistrement s'est arrêté : %1\nLes lignes d'avant sont dans %2.",
      "Nahrávání se zastavilo: %1\nŘádky před tím jsou v %2."}},
    {T::RideRecorded,
     {"%1 rows recorded in %2", "%1 Zeilen aufgezeichnet in %2", "%1 lignes enregistrées dans %2",
      "Nahráno řádků: %1, soubor %2"}},
    {T::RideRecording,
     {"\u25cf Recording %1  %2 rows", "\u25cf Aufzeichnung %1  %2 Zeilen",
      "\u25cf Enregistrement %1  %2 lignes", "\u25cf Nahrávání %1  řádků: %2"}},
    {T::RideStopFirst,
     {"Stop the recording (Ctrl+L) before opening another log.",
      "Beenden Sie die Aufzeichnung (Strg+L), bevor Sie eine andere öffnen.",
      "Arrêtez l'enregistrement (Ctrl+L) avant d'ouvrir un autre journal.",
      "Před otevřením jiného záznamu zastavte nahrávání (Ctrl+L)."}},
    {T::RideLogUnreadable,
     {"The log cannot be read:\n%1\n%2", "Die Aufzeichnung kann nicht gelesen werden:\n%1\n%2",
      "Le journal ne peut pas être lu :\n%1\n%2", "Záznam nelze přečíst:\n%1\n%2"}},

    // Tuning from ride logs: the window's messages.
    {T::RideNoLog,
     {"No log is open or being recorded.", "Keine Aufzeichnung ist geöffnet oder läuft.",
      "Aucun journal n'est ouvert ni en cours d'enregistrement.",
      "Žádný záznam není otevřen ani nahráván."}},
    {T::RideRecordingSuffix, {" (recording)", " (läuft)", " (en cours)", " (nahrává se)"}},
    {T::RideLogCount, {"%1 logs", "%1 Aufzeichnungen", "%1 journaux", "Záznamů: %1"}},
    {T::RideSelectFirst,
     {"Select the cells on an injection map first.",
      "Wählen Sie zuerst die Zellen auf einem Einspritzkennfeld.",
      "Sélectionnez d'abord les cellules sur une carte d'injection.",
      "Nejprve vyberte buňky na mapě vstřiku."}},
    {T::RideNothingToApply,
     {"No suggested change to apply there.", "Dort ist keine vorgeschlagene Änderung anzuwenden.",
      "Aucune modification proposée à appliquer ici.", "Tam není žádná navržená změna k použití."}},

    // The ride-tuning panel.
    {T::RidePanelTitle,
     {"Ride tuning", "Abstimmung aus Fahrten", "Réglage d'après les trajets", "Ladění z jízd"}},
    {T::RideViewChange,
     {"Suggested change", "Vorgeschlagene Änderung", "Modification proposée", "Navržená změna"}},
    {T::RideLessFuel, {"less fuel", "magerer", "appauvrir", "ochudit"}},
    {T::RideMoreFuel, {"more fuel", "fetter", "enrichir", "obohatit"}},
    {T::RideViewLean, {"Lean share", "Mager-Anteil", "Part pauvre", "Podíl chudé směsi"}},
    {T::RideRich, {"rich", "fett", "riche", "bohatá"}},
    {T::RideLean, {"lean", "mager", "pauvre", "chudá"}},
    {T::RideViewHits, {"Hits", "Treffer", "Passages", "Zásahy"}},
    {T::RideFew, {"few", "wenige", "peu", "málo"}},
    {T::RideEnough, {"enough", "genug", "assez", "dost"}},
    {T::RideOptionHint,
     {"--%1 on the command line", "--%1 auf der Kommandozeile", "--%1 en ligne de commande",
      "--%1 na příkazové řádce"}},
    {T::RideColourBy, {"Colour &by", "&Einfärben nach", "C&ouleur selon", "&Barvit podle"}},
    {T::RideLock,
     {"Loc&k cells", "Zellen spe&rren", "V&errouiller les cellules", "Za&mknout buňky"}},
    {T::RideUnlock,
     {"&Unlock cells", "Zellen &freigeben", "&Déverrouiller les cellules", "&Odemknout buňky"}},
    {T::RideLockHint,
     {"Locked cells take no suggestion", "Gesperrte Zellen übernehmen keinen Vorschlag",
      "Les cellules verrouillées ne reçoivent aucune suggestion",
      "Zamčené buňky nepřijímají návrhy"}},
    {T::RideApplySelection,
     {"Apply to &selection", "Auf Aus&wahl anwenden", "Appliquer à la &sélection",
      "Použít na výbě&r"}},
    {T::RideApplyAll,
     {"Appl&y to all cells", "Auf alle Zellen anwe&nden", "Appliquer à to&utes les cellules",
      "Použít na vše&chny buňky"}},
    {T::RideApplyAllHint,
     {"Every measurable, unlocked cell with enough hits",
      "Jede messbare, nicht gesperrte Zelle mit genug Treffern",
      "Chaque cellule mesurable, non verrouillée, avec assez de passages",
      "Každá měřitelná, nezamčená buňka s dostatkem zásahů"}},
    {T::RideSummary,
     {"%1\n%2 rows, %3 used\nSuggested changes: map 1 %4 cells, map 2 %5 cells",
      "%1\n%2 Zeilen, %3 verwendet\nVorgeschlagene Änderungen: Kennfeld 1 %4 Zellen, "
      "Kennfeld 2 %5 Zellen",
      "%1\n%2 lignes, %3 utilisées\nModifications proposées : carte 1 %4 cellules, "
      "carte 2 %5 cellules",
      "%1\nŘádků %2, použito %3\nNavržené změny: mapa 1 buněk %4, mapa 2 buněk %5"}},
    {T::RideLeftOut,
     {"Left out: %1\ncold engine %2\njust started %3\nthrottle moving %4\nbelow idle "
      "%5\nthrottle fault %6\nno probe reading %7",
      "Ausgelassen: %1\nkalter Motor %2\ngerade gestartet %3\nDrosselklappe bewegt "
      "%4\nunter Leerlauf %5\nDrosselklappenfehler %6\nkein Sondenwert %7",
      "Écartées : %1\nmoteur froid %2\njuste démarré %3\npapillon en mouvement %4\nsous le "
      "ralenti %5\ndéfaut papillon %6\nsans mesure de sonde %7",
      "Vynecháno: %1\nstudený motor %2\nprávě nastartováno %3\npohyb plynu %4\npod "
      "volnoběhem %5\nchyba plynu %6\nbez údaje sondy %7"}},

    // The analysis settings of the ride-tuning panel.
    {T::RideSettingCoolant,
     {"Coolant at least", "Kühlmittel mindestens", "Liquide au moins", "Chladivo alespoň"}},
    {T::RideSettingSkip,
     {"Skip after start", "Auslassen nach Start", "Ignorer après démarrage", "Vynechat po startu"}},
    {T::RideSettingThrottleRate,
     {"Throttle change at most", "Drosselklappe ändert höchstens", "Variation papillon au plus",
      "Změna plynu nejvýše"}},
    {T::RideSettingDelay,
     {"Probe delay", "Sondenverzögerung", "Retard de sonde", "Zpoždění sondy"}},
    {T::RideSettingHits,
     {"Hits at least", "Treffer mindestens", "Passages au moins", "Zásahů alespoň"}},
    {T::RideSettingMeasurable,
     {"Measurable below", "Messbar unter", "Mesurable sous", "Měřitelné pod"}},
    {T::RideSettingTarget,
     {"Probe switches at", "Sonde schaltet bei", "Sonde bascule à", "Sonda přepíná při"}},
    {T::RideSettingStep, {"Largest step", "Größter Schritt", "Pas maximal", "Největší krok"}},
    {T::RideSettingThrottleUnit, {"% throttle", "% Drosselklappe", "% papillon", "% plynu"}},

    // What a cell of an injection map shows of the ride logs.
    {T::RideCellFigures,
     {"Hits %1, probe %2 mV, %3 % lean", "Treffer %1, Sonde %2 mV, %3 % mager",
      "Passages %1, sonde %2 mV, %3 % pauvre", "Zásahy %1, sonda %2 mV, %3 % chudá"}},
    {T::RideNoSamples, {"No samples", "Keine Werte", "Aucun échantillon", "Žádné vzorky"}},
    {T::RideTooFewHits,
     {"\nToo few hits (%1 needed)", "\nZu wenige Treffer (%1 nötig)",
      "\nTrop peu de passages (%1 requis)", "\nMálo zásahů (potřeba %1)"}},
    {T::RideNotMeasurable,
     {"\nNot measurable: throttle at %1 % or more", "\nNicht messbar: Drosselklappe ab %1 %",
      "\nNon mesurable : papillon à %1 % ou plus", "\nNeměřitelné: plyn %1 % a více"}},
    {T::RideLocked, {"\nLocked", "\nGesperrt", "\nVerrouillée", "\nZamčeno"}},
    {T::RideBalanced,
     {"\nBalanced: no change", "\nAusgeglichen: keine Änderung",
      "\nÉquilibrée : aucune modification", "\nVyvážené: beze změny"}},
    {T::RideSuggested,
     {"\nSuggested change ", "\nVorgeschlagene Änderung ", "\nModification proposée ",
      "\nNavržená změna "}},
    {T::RideLockedNoSamples,
     {"Locked, no samples", "Gesperrt, keine Werte", "Verrouillée, aucun échantillon",
      "Zamčeno, žádné vzorky"}},
    {T::RideChangedSinceLog,
     {"\nChanged since the log: record a new one",
      "\nSeit der Aufzeichnung geändert: neu aufzeichnen",
      "\nModifiée depuis le journal : enregistrez-en un nouveau",
      "\nZměněno od záznamu: nahrajte nový"}},

    // The map graph and the map grid's buttons.
    {T::GraphTitle, {"Map graph", "Kennfeld-Grafik", "Graphique de la carte", "Graf mapy"}},
    {T::GraphSelected, {"Selected", "Auswahl", "Sélection", "Výběr"}},
    {T::GraphEngine, {"Engine", "Motor", "Moteur", "Motor"}},
    {T::GraphAll, {"all", "alle", "toutes", "vše"}},
    {T::GraphAdvance, {"advance [°]", "Vorzündung [°]", "avance [°]", "předstih [°]"}},
    {T::GraphInjectionMs,
     {"injection time [ms]", "Einspritzzeit [ms]", "temps d'injection [ms]", "doba vstřiku [ms]"}},
    {T::GraphInjectionPercent,
     {"injection [% of base time]", "Einspritzung [% der Grundzeit]",
      "injection [% du temps de base]", "vstřik [% základní doby]"}},
    {T::GridShadeHint,
     {"Shade the cells by value", "Zellen nach Wert einfärben",
      "Colorer les cellules selon la valeur", "Stínovat buňky podle hodnoty"}},
    {T::GridGraphHint,
     {"Show the map as a graph (G)", "Kennfeld als Grafik zeigen (G)",
      "Afficher la carte en graphique (G)", "Zobrazit mapu jako graf (G)"}},

    // The simulated unit and the file dialogs.
    {T::SimulatorFailed,
     {"The simulated unit could not be started: %1",
      "Die simulierte Zündbox konnte nicht gestartet werden: %1",
      "Le boîtier simulé n'a pas pu être démarré : %1", "Simulované zapalování nelze spustit: %1"}},
    {T::DialogNoPrinter,
     {"No printer found: save the printout as a PDF file",
      "Kein Drucker gefunden: den Ausdruck als PDF-Datei speichern",
      "Aucune imprimante trouvée : enregistrer l'impression en fichier PDF",
      "Nenalezena tiskárna: uložte tisk jako soubor PDF"}},
    {T::DialogOpenRideLogs,
     {"Open ride logs", "Fahrtaufzeichnungen öffnen", "Ouvrir des journaux de trajet",
      "Otevřít záznamy jízd"}},
    {T::DialogOpenLog, {"Open log", "Aufzeichnung öffnen", "Ouvrir un journal", "Otevřít záznam"}},
    {T::DialogRideLogFilter,
     {"Ride logs (*.csv);;All files (*)", "Fahrtaufzeichnungen (*.csv);;Alle Dateien (*)",
      "Journaux de trajet (*.csv);;Tous les fichiers (*)",
      "Záznamy jízd (*.csv);;Všechny soubory (*)"}},
}};

constexpr bool rowsInKeyOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].key) != i) return false;
    }
    return true;
}
static_assert(rowsInKeyOrder(), "one row per key, in key order");

#define ZELVOR_NAME(name) #name,
constexpr std::array<std::string_view, kToolTextCount> kNames{ZELVOR_TOOL_TEXT_KEYS(ZELVOR_NAME)};
#undef ZELVOR_NAME

}  // namespace

std::string_view toolText(ToolText key, Language language) {
    const auto lang = static_cast<std::size_t>(language);
    const auto row = static_cast<std::size_t>(key);
    if (row >= kRows.size()) return {};
    return kRows[row].texts[lang < kLanguageCount ? lang : 0];
}

std::string_view toolTextName(ToolText key) {
    const auto row = static_cast<std::size_t>(key);
    return row < kNames.size() ? kNames[row] : std::string_view{};
}

}  // namespace zelvor::i18n
