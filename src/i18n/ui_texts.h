#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "i18n/language.h"

namespace zelvor::i18n {

// Which text of a control a row sets.
//   WindowTitle  the title of the main window (control "TFormHlav")
//   Caption      the visible text of a label, group box, button, check box, tab, menu
//   Hint         "tooltip|status-bar text" (see ui_markup.h)
//   Items        an ordered list, one entry per line ('\n' between entries): the items of
//                a radio group, the sub-items of a menu, or the texts of an array of
//                run-time labels (the map grid's row labels)
enum class UiProperty : std::uint8_t { WindowTitle, Caption, Hint, Items };

// The control name used for the main window's title.
inline constexpr std::string_view kMainWindowName = "TFormHlav";

// One row of the translated texts. A row may name two controls that get the same text
// (a menu item and its tool button); the second name is empty otherwise.
struct TranslatedUiText {
    std::array<std::string_view, 2> controls;
    UiProperty property;
    std::array<std::string_view, kLanguageCount> variants;  // English, German, French, Czech
    // True for the monitor label that shows a placeholder only while the unit does not
    // answer; with a connection the live decoding owns that label.
    bool onlyWithoutConnection = false;
};

// One text that reads the same in every language.
struct FixedUiText {
    std::string_view control;
    UiProperty property;
    std::string_view text;
};

// The raw tables. The translated table is kept in the order the window applies it: window
// title, connection label and menus, page captions, item lists, hints, the remaining status
// texts, and last the no-connection placeholder of the gear-shift-light label.
std::span<const TranslatedUiText> translatedUiTextTable();
std::span<const FixedUiText> fixedUiTextTable();

// One text to write into one control.
struct UiTextEntry {
    std::string_view control;
    UiProperty property;
    std::string_view text;

    bool operator==(const UiTextEntry&) const = default;
};

// Every translated text for the language, in table order, one entry per control (a row
// naming two controls yields two entries). The gear-shift-light placeholder is included
// only while the "no connection" label is shown. Empty texts are included: they clear the
// control (French leaves the N2O delay and build-up labels blank).
std::vector<UiTextEntry> translatedUiTexts(Language language, bool noConnectionShown);

// Every text that is the same in all languages, in table order; written once when the
// window is built.
std::vector<UiTextEntry> fixedUiTexts();

// The text a control shows in a language: the translated variant, or the fixed text for
// controls that are not translated. Nothing when the table has no such text.
std::optional<std::string_view> uiText(std::string_view control, UiProperty property,
                                       Language language);

// The entries of an Items text, first entry first.
std::vector<std::string_view> splitItems(std::string_view items);

// The language menu items; the one at the current language's index carries the check mark.
inline constexpr std::array<std::string_view, kLanguageCount> kLanguageMenuItems = {
    "MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};

// Captions the three map pages get when they are created, before the first language pass
// gives them their translated captions.
inline constexpr std::array<std::string_view, 3> kMapPageCreationCaptions = {"Advance", "Inj-1A",
                                                                             "Inj-2A"};

}  // namespace zelvor::i18n
