#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "i18n/messages.h"
#include "i18n/ui_markup.h"
#include "i18n/ui_texts.h"

namespace zelvor::i18n {
namespace {

constexpr std::array<Language, kLanguageCount> kLanguages = {Language::English, Language::German,
                                                             Language::French, Language::Czech};

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        else if (lead >= 0x80)
            return false;
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

std::string text(std::string_view control, UiProperty property, Language language) {
    const auto found = uiText(control, property, language);
    EXPECT_TRUE(found.has_value()) << control;
    return found ? std::string(*found) : std::string("<missing>");
}

// --- the tables themselves -------------------------------------------------------------

TEST(UiTextTables, EveryTranslatedRowHasAllFourVariantsExceptTheBlankFrenchN2OLabels) {
    const std::set<std::string_view> blankInFrench = {"LabelGasD", "LabelRetardD", "LabelGasT",
                                                      "LabelRetardT"};
    int blanks = 0;
    for (const TranslatedUiText& row : translatedUiTextTable()) {
        ASSERT_FALSE(row.controls[0].empty());
        for (std::size_t language = 0; language < kLanguageCount; ++language) {
            const std::string_view variant = row.variants[language];
            EXPECT_TRUE(isValidUtf8(variant)) << row.controls[0];
            if (!variant.empty()) continue;
            const bool allowed = language == static_cast<std::size_t>(Language::French) &&
                                 blankInFrench.contains(row.controls[0]) &&
                                 blankInFrench.contains(row.controls[1]);
            EXPECT_TRUE(allowed) << row.controls[0] << " has no text in language " << language;
            if (allowed) ++blanks;
        }
    }
    EXPECT_EQ(blanks, 2);  // two rows, each naming two labels
}

TEST(UiTextTables, FixedRowsAreCompleteAndValidUtf8) {
    for (const FixedUiText& row : fixedUiTextTable()) {
        EXPECT_FALSE(row.control.empty());
        EXPECT_FALSE(row.text.empty()) << row.control;
        EXPECT_TRUE(isValidUtf8(row.text)) << row.control;
        if (row.property == UiProperty::Items) {
            for (std::string_view item : splitItems(row.text)) EXPECT_FALSE(item.empty());
        }
    }
}

TEST(UiTextTables, NoControlAndPropertyIsDefinedTwice) {
    std::set<std::pair<std::string_view, UiProperty>> keys;
    for (const TranslatedUiText& row : translatedUiTextTable()) {
        for (std::string_view control : row.controls) {
            if (control.empty()) continue;
            EXPECT_TRUE(keys.insert({control, row.property}).second) << control;
        }
    }
    for (const FixedUiText& row : fixedUiTextTable()) {
        EXPECT_TRUE(keys.insert({row.control, row.property}).second) << row.control;
    }
}

TEST(UiTextTables, TextsThisProgramAddsExistInEveryLanguage) {
    const std::string_view added[] = {"Label1",       "Label2",      "Label3", "GroupBoxMonOutput",
                                      "MenuMemo1250", "MenuMemo1252"};
    for (std::string_view control : added) {
        const std::string english = text(control, UiProperty::Caption, Language::English);
        for (Language language : {Language::German, Language::French, Language::Czech}) {
            EXPECT_FALSE(text(control, UiProperty::Caption, language).empty()) << control;
        }
        if (control != "Label1" && control != "GroupBoxMonOutput") continue;
        for (Language language : {Language::German, Language::French, Language::Czech}) {
            EXPECT_NE(text(control, UiProperty::Caption, language), english) << control;
        }
    }
    EXPECT_EQ(text("Label3", UiProperty::Caption, Language::English), "Ignition unit");
    EXPECT_EQ(text("GroupBoxMonOutput", UiProperty::Caption, Language::Czech), "Výstupy");
    // Each code-page item names its code page in every language, and both
    // tell in the status bar what the setting is for.
    for (Language language : kLanguages) {
        EXPECT_NE(text("MenuMemo1250", UiProperty::Caption, language).find("1250"),
                  std::string::npos);
        EXPECT_NE(text("MenuMemo1252", UiProperty::Caption, language).find("1252"),
                  std::string::npos);
        EXPECT_EQ(text("MenuMemo1250", UiProperty::Hint, language),
                  text("MenuMemo1252", UiProperty::Hint, language));
        // The refused characters follow the message after a blank.
        EXPECT_TRUE(storedVariant(MessageKey::MsgMemoCharacter, language).ends_with(": "));
    }
}

// --- exact texts ----------------------------------------------------------------------

struct ExactText {
    std::string_view control;
    UiProperty property;
    Language language;
    std::string_view expected;
};

TEST(UiTextLookup, OddSpellingsAndBlanksSurviveExactly) {
    using P = UiProperty;
    using L = Language;
    const ExactText cases[] = {
        {"LabelSpojeni", P::Caption, L::French, "Pas de connection acec pc"},
        {"ButtonVerify", P::Hint, L::Czech,
         "Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování"},
        {"MenuVerify", P::Hint, L::English, "Compare set parametrs  with parametrs of ignition"},
        {"MenuCom", P::Hint, L::Czech, "Nastavení čísla serivého portu (Com) "},
        {"LabelIgnLimiter", P::Caption, L::French, "Limitateur  par Allumage [RPM]"},
        {"SpeedButton6", P::Hint, L::French, "Reprogramation des paramètres initial Dórigine"},
        {"LabelPilotLight", P::Caption, L::French, "Retard à l´allumage [rpm]"},
        {kMainWindowName, P::WindowTitle, L::German, "Programmierung der Zelvor Zündbox"},
        {"MenuRead", P::Caption, L::Czech, "Čí&st"},
        {"LabelIdleRpmMez", P::Caption, L::German, "Regul. Range [rpm]              "},
        {"LabelIdleTpsMez", P::Caption, L::Czech, "Regul range TPS [0.1%]              "},
        {"LabelFan2", P::Caption, L::English, "Fan 2 [ °C]"},
        {"MenuToolsMinus", P::Caption, L::French, "Minus "},
        {"Menu_Jet123Stejny", P::Caption, L::Czech, " 1 = 2"},
        {"GroupBoxMonAutoGear", P::Caption, L::English, "Automat from ratio rpm speed "},
        {"LabelRaceGear1", P::Caption, L::German, "1 "},
        {"GroupBox1", P::Caption, L::English, "Vstřik"},
        {"MenuHelp", P::Hint, L::German, "Not available jet"},
    };
    for (const ExactText& c : cases) {
        EXPECT_EQ(text(c.control, c.property, c.language), c.expected) << c.control;
    }
    EXPECT_TRUE(text("LabelIdleHyster", P::Caption, L::English).ends_with(std::string(14, ' ')));
}

TEST(UiTextLookup, RowsNamingTwoControlsAreFoundUnderEitherName) {
    const std::pair<std::string_view, std::string_view> pairs[] = {
        {"MenuRead", "ButtonRead"}, {"MenuVerify", "ButtonVerify"}, {"LabelVoda2", "LabelVoda3"}};
    for (Language language : kLanguages) {
        for (const auto& [first, second] : pairs) {
            EXPECT_EQ(text(first, UiProperty::Caption, language),
                      text(second, UiProperty::Caption, language));
        }
        EXPECT_EQ(text("SpeedButtonPrint", UiProperty::Hint, language),
                  text("MenuPrint", UiProperty::Hint, language));
    }
    EXPECT_EQ(text("ButtonProgram", UiProperty::Caption, Language::German), "&Programmieren");
    EXPECT_EQ(text("MenuNew", UiProperty::Hint, Language::English), "Set default parametrs");
}

TEST(UiTextLookup, BlankFrenchLabelsAreFoundEmptyAndOtherLanguagesKeepTheirText) {
    for (std::string_view label : {"LabelGasD", "LabelRetardD", "LabelGasT", "LabelRetardT"}) {
        const auto french = uiText(label, UiProperty::Caption, Language::French);
        ASSERT_TRUE(french.has_value()) << label;
        EXPECT_TRUE(french->empty()) << label;
    }
    EXPECT_EQ(text("LabelRetardD", UiProperty::Caption, Language::English), "Delay [ms]");
    EXPECT_EQ(text("LabelGasT", UiProperty::Caption, Language::Czech), "Náběh [ms]");
}

TEST(UiTextLookup, UnknownControlsPropertiesAndLanguages) {
    EXPECT_FALSE(uiText("NoSuchControl", UiProperty::Caption, Language::English));
    EXPECT_FALSE(uiText("", UiProperty::Caption, Language::English));
    EXPECT_FALSE(uiText("LabelSpojeni", UiProperty::Hint, Language::English));
    // A language byte outside the enum never reads past the variants.
    EXPECT_EQ(text("MenuFile", UiProperty::Caption, static_cast<Language>(7)), "&File");
}

TEST(UiTextLookup, FixedTextsReadTheSameInEveryLanguage) {
    for (const FixedUiText& row : fixedUiTextTable()) {
        for (Language language : kLanguages) {
            EXPECT_EQ(text(row.control, row.property, language), row.text) << row.control;
        }
    }
}

// --- item lists ------------------------------------------------------------------------

TEST(UiTextItems, PositionItemsPerLanguage) {
    const std::array<std::array<std::string_view, 3>, kLanguageCount> expected = {{
        {"Beginning", "Centre", "End"},
        {"Beginn", "Mitte", "Ende"},
        {"Commencement", "centre", "Fin"},
        {"Počátek", "Střed", "Konec"},
    }};
    for (Language language : kLanguages) {
        const auto items = uiText("RadioGroupPolohaA", UiProperty::Items, language);
        ASSERT_TRUE(items.has_value());
        const auto& want = expected[static_cast<std::size_t>(language)];
        EXPECT_EQ(splitItems(*items), std::vector<std::string_view>(want.begin(), want.end()));
    }
    EXPECT_EQ(text("RadioGroupPolohaA", UiProperty::Caption, Language::Czech),
              "Poloha zadána pro:");
}

TEST(UiTextItems, FixedItemListsKeepTheOrderTheImageStores) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(splitItems(*uiText("RadioGroupPinEngine14", UiProperty::Items, Language::German)),
              (V{"ATS", "Neutral"}));
    EXPECT_EQ(splitItems(*uiText("RadioGroupGearSystem", UiProperty::Items, Language::Czech)),
              (V{"Ration Rpm Speed", "Automat (Ratio Rpm Speed)", "No"}));
    EXPECT_EQ(splitItems(*uiText("RadioGroupIdleMode", UiProperty::Items, Language::French)),
              (V{"No", "Step motor", "Advance"}));
    const V ports = splitItems(*uiText("MenuCom", UiProperty::Items, Language::English));
    ASSERT_EQ(ports.size(), 20u);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i], "Com " + std::to_string(i + 1));
    }
    EXPECT_EQ(splitItems(*uiText("LabelTpsRow_Uni", UiProperty::Items, Language::English)).back(),
              "100%");
}

TEST(UiTextItems, SplitItems) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(splitItems(""), V{});
    EXPECT_EQ(splitItems("One"), V{"One"});
    EXPECT_EQ(splitItems("a\n\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(splitItems("a\n"), (V{"a", ""}));
}

// --- the language pass ------------------------------------------------------------------

TEST(UiTextPass, EnumeratesEveryControlOnceWithThePlaceholderOnlyWithoutConnection) {
    std::size_t expanded = 0;
    for (const TranslatedUiText& row : translatedUiTextTable()) {
        expanded += row.controls[1].empty() ? 1 : 2;
    }
    for (Language language : kLanguages) {
        const auto offline = translatedUiTexts(language, true);
        const auto online = translatedUiTexts(language, false);
        EXPECT_EQ(offline.size(), expanded);
        EXPECT_EQ(online.size(), expanded - 1);
        ASSERT_FALSE(offline.empty());
        EXPECT_EQ(offline.front().property, UiProperty::WindowTitle);
        EXPECT_EQ(offline.back().control, "LabelMonPilotLight");
        EXPECT_TRUE(std::none_of(online.begin(), online.end(), [](const UiTextEntry& e) {
            return e.control == "LabelMonPilotLight";
        }));
        for (const UiTextEntry& entry : offline) {
            EXPECT_EQ(uiText(entry.control, entry.property, language), entry.text);
        }
    }
    const auto czech = translatedUiTexts(Language::Czech, false);
    const UiTextEntry button{"ButtonRead", UiProperty::Caption, "Čí&st"};
    EXPECT_NE(std::find(czech.begin(), czech.end(), button), czech.end());
}

TEST(UiTextPass, CaptionsThatDoubleAsMessagesAgreeWithTheMessageTable) {
    for (Language language : kLanguages) {
        EXPECT_EQ(text("LabelMonPilotLight", UiProperty::Caption, language),
                  std::string(storedVariant(MessageKey::MsgGearShiftLight, language)) + " - ---");
        EXPECT_EQ(text("TabSheet_Poloha", UiProperty::Caption, language),
                  storedVariant(MessageKey::MsgPosition, language));
        EXPECT_EQ(text("LabelVoda2", UiProperty::Caption, language),
                  storedVariant(MessageKey::MsgCoolant, language));
    }
}

TEST(UiTextPass, FixedTextsEnumerateTheWholeTable) {
    const auto entries = fixedUiTexts();
    ASSERT_EQ(entries.size(), fixedUiTextTable().size());
    const UiTextEntry tps{"ButtonTps100", UiProperty::Caption, "<- TPS 100 %"};
    EXPECT_NE(std::find(entries.begin(), entries.end(), tps), entries.end());
}

// --- hints and accelerators ---------------------------------------------------------------

TEST(UiMarkup, LanguageHintSplitsInEnglishOnly) {
    const HintParts english =
        splitHint(*uiText("MenuLanguage", UiProperty::Hint, Language::English));
    EXPECT_EQ(english.tooltip, "Language");
    EXPECT_EQ(english.statusText, "Set English or German or French");
    const HintParts german = splitHint(*uiText("MenuLanguage", UiProperty::Hint, Language::German));
    EXPECT_EQ(german.tooltip, "Sprache");
    EXPECT_EQ(german.statusText, "Sprache");
}

TEST(UiMarkup, SplitHintEdgeCases) {
    const HintParts statusOnly = splitHint("|Set Englich menu");
    EXPECT_EQ(statusOnly.tooltip, "");
    EXPECT_EQ(statusOnly.statusText, "Set Englich menu");
    const HintParts twoBars = splitHint("Com|Set|port ");
    EXPECT_EQ(twoBars.tooltip, "Com");
    EXPECT_EQ(twoBars.statusText, "Set|port ");
    const HintParts empty = splitHint("");
    EXPECT_EQ(empty.tooltip, "");
    EXPECT_EQ(empty.statusText, "");
}

TEST(UiMarkup, AcceleratorsAreLocatedAndStripped) {
    EXPECT_EQ(acceleratorLetter("E&xit"), "x");
    EXPECT_EQ(acceleratorLetter("&Öffnen"), "Ö");
    EXPECT_EQ(acceleratorLetter("Čí&st"), "s");
    EXPECT_EQ(acceleratorLetter("Nápověda"), "");
    EXPECT_EQ(acceleratorLetter("Zelvor N1 && Lambda"), "");
    EXPECT_EQ(acceleratorLetter("A && &B"), "B");
    EXPECT_EQ(acceleratorLetter("Broken &\xC3"), "\xC3");  // cut sequence: no read past the end
    EXPECT_EQ(acceleratorLetter("Trailing &"), "");

    EXPECT_EQ(stripAccelerators("E&xit"), "Exit");
    EXPECT_EQ(stripAccelerators("Če&sky"), "Česky");
    EXPECT_EQ(stripAccelerators("A && B"), "A & B");
    EXPECT_EQ(stripAccelerators("Trailing &"), "Trailing &");
}

TEST(UiMarkup, BikeNamesSurviveAsCaptionsOnlyWhenEscaped) {
    const std::string_view bike = "Zelvor N1 & Lambda";
    // Unescaped, a caption would hide the '&' and mark the blank after it.
    EXPECT_EQ(acceleratorLetter(bike), " ");
    EXPECT_EQ(stripAccelerators(bike), "Zelvor N1  Lambda");
    const std::string escaped = escapeAmpersands(bike);
    EXPECT_EQ(escaped, "Zelvor N1 && Lambda");
    EXPECT_EQ(acceleratorLetter(escaped), "");
    EXPECT_EQ(stripAccelerators(escaped), bike);
}

TEST(UiMarkup, EveryTranslatedCaptionMarksAtMostOneLetterAndNoLiteralAmpersand) {
    for (const TranslatedUiText& row : translatedUiTextTable()) {
        if (row.property != UiProperty::Caption) continue;
        for (std::string_view caption : row.variants) {
            EXPECT_EQ(caption.find("&&"), std::string_view::npos) << caption;
            const std::size_t marks =
                static_cast<std::size_t>(std::count(caption.begin(), caption.end(), '&'));
            EXPECT_LE(marks, 1u) << caption;
            EXPECT_EQ(acceleratorLetter(caption).empty(), marks == 0) << caption;
        }
    }
}

}  // namespace
}  // namespace zelvor::i18n
