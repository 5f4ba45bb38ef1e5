#include "i18n/ui_texts.h"

#include <cstddef>

namespace zelvor::i18n {
namespace {

std::size_t languageIndex(Language language) {
    const auto index = static_cast<std::size_t>(language);
    // A value outside the enum cannot index the variants; such a language reads as English,
    // the language every other source of a bad value falls back to.
    return index < kLanguageCount ? index : 0;
}

bool names(const TranslatedUiText& row, std::string_view control) {
    return row.controls[0] == control || (!row.controls[1].empty() && row.controls[1] == control);
}

}  // namespace

std::vector<UiTextEntry> translatedUiTexts(Language language, bool noConnectionShown) {
    const std::size_t index = languageIndex(language);
    std::vector<UiTextEntry> entries;
    entries.reserve(translatedUiTextTable().size() + 8);
    for (const TranslatedUiText& row : translatedUiTextTable()) {
        if (row.onlyWithoutConnection && !noConnectionShown) continue;
        for (std::string_view control : row.controls) {
            if (!control.empty()) entries.push_back({control, row.property, row.variants[index]});
        }
    }
    return entries;
}

std::vector<UiTextEntry> fixedUiTexts() {
    std::vector<UiTextEntry> entries;
    entries.reserve(fixedUiTextTable().size());
    for (const FixedUiText& row : fixedUiTextTable()) {
        entries.push_back({row.control, row.property, row.text});
    }
    return entries;
}

std::optional<std::string_view> uiText(std::string_view control, UiProperty property,
                                       Language language) {
    if (control.empty()) return std::nullopt;
    for (const TranslatedUiText& row : translatedUiTextTable()) {
        if (row.property == property && names(row, control)) {
            return row.variants[languageIndex(language)];
        }
    }
    for (const FixedUiText& row : fixedUiTextTable()) {
        if (row.property == property && row.control == control) return row.text;
    }
    return std::nullopt;
}

std::vector<std::string_view> splitItems(std::string_view items) {
    std::vector<std::string_view> entries;
    if (items.empty()) return entries;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = items.find('\n', start);
        if (end == std::string_view::npos) {
            entries.push_back(items.substr(start));
            return entries;
        }
        entries.push_back(items.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace zelvor::i18n
