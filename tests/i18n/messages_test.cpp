#include "i18n/messages.h"

#include <gtest/gtest.h>

#include <set>

namespace zelvor::i18n {
namespace {

using K = MessageKey;

TEST(MessageTable, HelpOpenErrorNamesTheHelpFileOfTheLanguage) {
    MessageTable messages(Language::German);
    EXPECT_EQ(messages.text(K::MsgHelpOpenError), "Fehler beim öffnen der Datei Zelvor_de.pdf !");
    messages.apply(Language::English);
    EXPECT_EQ(messages.text(K::MsgHelpOpenError), "Error by opening file Zelvor_en.pdf !");
    messages.apply(Language::French);
    EXPECT_EQ(messages.text(K::MsgHelpOpenError), "Erreur à l´ouvertur du Fichier Zelvor_fr.pdf !");
    messages.apply(Language::Czech);
    EXPECT_EQ(messages.text(K::MsgHelpOpenError), "Chyba při otevírání souboru Zelvor_cz.pdf !");
    EXPECT_EQ(messages.text(K::MsgHelpFile), "Zelvor_cz.pdf");
}

TEST(MessageTable, TextsKeepTheirExactPunctuation) {
    const MessageTable french(Language::French);
    EXPECT_EQ(french.text(K::MsgReadProgress), "Lire");
    EXPECT_EQ(french.text(K::MsgSaving), "Mémorisation");
    const MessageTable german(Language::German);
    EXPECT_EQ(german.text(K::MsgVerifyError), "Vergleichsfehler");
    EXPECT_EQ(german.text(K::MsgReadError), "Lesefehler");
    EXPECT_EQ(german.text(K::MsgComOpenError), "Falscher COM-Anschlußes!");
    const MessageTable czech(Language::Czech);
    EXPECT_EQ(czech.text(K::MsgProgramError), "Chyba programování");
    EXPECT_EQ(czech.text(K::MsgReadProgress), "Čtení:");
    const MessageTable english;
    EXPECT_EQ(english.text(K::MsgBlocking), "Blocking ");
    EXPECT_EQ(english.text(K::MsgRunning), " is running");
    EXPECT_EQ(english.text(K::MsgPrintDate), "Date and time of printing:  ");
    EXPECT_EQ(english.text(K::MsgProgramCount), "Number of Programing = ");
}

TEST(MessageTable, TachoLambdaIsComposedInEveryLanguage) {
    for (Language l : {Language::English, Language::German, Language::French, Language::Czech}) {
        const MessageTable messages(l);
        EXPECT_EQ(messages.text(K::MsgTachoLambda), "Tacho/Lambda");
        EXPECT_TRUE(storedVariant(K::MsgTachoLambda, l).empty());
    }
}

TEST(MessageTable, EveryKeyHasATextInEveryLanguage) {
    for (Language l : {Language::English, Language::German, Language::French, Language::Czech}) {
        const MessageTable messages(l);
        for (std::size_t i = 0; i < kMessageKeyCount; ++i) {
            const auto key = static_cast<MessageKey>(i);
            EXPECT_FALSE(messages.text(key).empty()) << keyName(key);
        }
    }
}

TEST(MessageTable, LanguageChangeReplacesEveryText) {
    MessageTable messages(Language::Czech);
    messages.apply(Language::German);
    messages.apply(Language::English);
    const MessageTable fresh(Language::English);
    for (std::size_t i = 0; i < kMessageKeyCount; ++i) {
        const auto key = static_cast<MessageKey>(i);
        EXPECT_EQ(messages.text(key), fresh.text(key)) << keyName(key);
    }
    EXPECT_EQ(messages.language(), Language::English);
}

TEST(MessageTable, LanguageOutOfRangeFallsBackToEnglish) {
    const MessageTable messages(static_cast<Language>(7));
    EXPECT_EQ(messages.language(), Language::English);
    EXPECT_EQ(messages.text(K::MsgYes), "YES");
}

TEST(MessageTable, KeyNamesRoundTrip) {
    for (std::size_t i = 0; i < kMessageKeyCount; ++i) {
        const auto key = static_cast<MessageKey>(i);
        EXPECT_EQ(findMessageKey(keyName(key)), key);
    }
    EXPECT_EQ(keyName(K::MsgGearShiftLight), "MsgGearShiftLight");
    EXPECT_FALSE(findMessageKey("MsgNothing"));
}

TEST(NoConnectionTexts, FollowTheCurrentLanguage) {
    MessageTable messages;
    auto texts = noConnectionTexts(messages);
    ASSERT_EQ(texts.size(), kNoConnectionPlaceholders.size());
    auto find = [&texts](std::string_view label) {
        for (const auto& [name, text] : texts) {
            if (name == label) return text;
        }
        return std::string("<missing>");
    };
    EXPECT_EQ(find("LabelMon_Ign"), "Advance= --- [°]");
    EXPECT_EQ(find("LabelPocetProgramovani"), "Number of Programing = ---");
    EXPECT_EQ(find("LabelMonBlokOut"), "Blocking  - ---");
    EXPECT_EQ(find("LabelGear"), "Gear = --- ");
    EXPECT_EQ(find("LabelMaxInjProcent"), "Max injection = --- %");
    EXPECT_EQ(find("LabelMonTlStartIn"), find("LabelMonTlStartOut"));

    messages.apply(Language::German);
    texts = noConnectionTexts(messages);
    EXPECT_EQ(find("LabelMon_Ign"), "Vorzündung= --- [°]");
    EXPECT_EQ(find("LabelMonFan1"), "Lüfter 1 - ---");
    EXPECT_EQ(find("LabelMonSpeed"), "Geschwindigkeit = --- [km/h]");

    std::set<std::string_view> labels;
    for (const auto& row : kNoConnectionPlaceholders) labels.insert(row.label);
    EXPECT_EQ(labels.size(), kNoConnectionPlaceholders.size()) << "one row per label";
}

}  // namespace
}  // namespace zelvor::i18n
