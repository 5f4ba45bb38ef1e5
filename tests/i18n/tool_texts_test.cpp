// The tools' four-language texts: every text in every language, the same
// places for numbers and names, and accelerators that do not clash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "i18n/tool_texts.h"
#include "i18n/ui_texts.h"

namespace zelvor::i18n {
namespace {

constexpr Language kLanguages[] = {Language::English, Language::German, Language::French,
                                   Language::Czech};

ToolText keyAt(std::size_t i) {
    return static_cast<ToolText>(i);
}

// The "%1".."%9" places a text holds.
std::multiset<char> placesOf(std::string_view text) {
    std::multiset<char> places;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') places.insert(text[i + 1]);
    }
    return places;
}

// The accelerator letter ('&' then a letter), lower case; 0 without one.
char acceleratorOf(std::string_view text) {
    const std::size_t at = text.find('&');
    if (at == std::string_view::npos || at + 1 >= text.size()) return 0;
    const auto c = static_cast<unsigned char>(text[at + 1]);
    return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
}

TEST(ToolTexts, EveryTextHasEveryLanguageAndTheSamePlaces) {
    for (std::size_t i = 0; i < kToolTextCount; ++i) {
        const std::string name(toolTextName(keyAt(i)));
        const std::string_view english = toolText(keyAt(i), Language::English);
        const std::multiset<char> places = placesOf(english);
        // Qt fills places by their number: they run from %1 without a gap.
        char expected = '1';
        for (const char place : std::set<char>(places.begin(), places.end())) {
            EXPECT_EQ(place, expected++) << name;
        }
        for (const Language language : kLanguages) {
            const std::string_view text = toolText(keyAt(i), language);
            EXPECT_FALSE(text.empty()) << name;
            EXPECT_EQ(placesOf(text), places) << name << ": " << text;
            // A text appended to another starts the same way in every language.
            EXPECT_EQ(text.front() == '\n', english.front() == '\n') << name;
            EXPECT_EQ(text.front() == ' ', english.front() == ' ') << name;
            EXPECT_LE(std::count(text.begin(), text.end(), '&'), 1) << name;
        }
    }
}

// Alt and a letter must reach one control. The compare and ride-tuning
// panels open beside the window's menu bar and tool buttons, and both may be
// open at once; the history dialog is a window of its own.
TEST(ToolTexts, ButtonsSharingAWindowHaveTheirOwnAccelerators) {
    using T = ToolText;
    const std::vector<T> panels = {T::CompareTake,        T::CompareTakeAll, T::CompareClose,
                                   T::RideColourBy,       T::RideLock,       T::RideUnlock,
                                   T::RideApplySelection, T::RideApplyAll};
    const std::vector<T> history = {T::HistoryUnit, T::HistoryRestore, T::HistoryCompare,
                                    T::HistoryExport};
    const char* const windowControls[] = {
        "MenuFile", "MenuCom",  "MenuDevice", "Menu_Jet123Mode", "MenuTools",    "MenuLanguage",
        "MenuLog",  "MenuHelp", "ButtonRead", "ButtonVerify",    "ButtonProgram"};
    for (const Language language : kLanguages) {
        std::set<char> window;
        for (const char* control : windowControls) {
            const std::optional<std::string_view> caption =
                uiText(control, UiProperty::Caption, language);
            ASSERT_TRUE(caption.has_value()) << control;
            window.insert(acceleratorOf(*caption));
        }
        for (const std::vector<T>* group : {&panels, &history}) {
            std::set<char> letters;
            for (const T button : *group) {
                const std::string_view text = toolText(button, language);
                const char letter = acceleratorOf(text);
                EXPECT_NE(letter, 0) << toolTextName(button);
                EXPECT_TRUE(letters.insert(letter).second) << toolTextName(button) << ": " << text;
                if (group == &panels) {
                    EXPECT_EQ(window.count(letter), 0U) << toolTextName(button) << ": " << text;
                }
            }
        }
    }
}

TEST(ToolTexts, ALanguageOutOfRangeReadsEnglish) {
    const auto outOfRange = static_cast<Language>(7);
    EXPECT_EQ(toolText(ToolText::CompareTake, outOfRange), "&Take");
    EXPECT_EQ(toolText(ToolText::CompareTake, Language::German), "Ü&bernehmen");
    EXPECT_EQ(toolTextName(ToolText::DialogRideLogFilter), "DialogRideLogFilter");
}

}  // namespace
}  // namespace zelvor::i18n
