#pragma once

#include <QString>

#include "i18n/tool_texts.h"

namespace zelvor::widgets {

// A tool text as the widgets take it.
inline QString qToolText(i18n::ToolText key, i18n::Language language) {
    const std::string_view text = i18n::toolText(key, language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The language a panel or dialog shows its texts in; called with a key it
// gives that text in the language.
class ToolLanguage {
  public:
    // Whether the language changed: the caller then shows its texts again.
    bool change(i18n::Language language) {
        if (language == language_) return false;
        language_ = language;
        return true;
    }
    i18n::Language language() const { return language_; }
    QString operator()(i18n::ToolText key) const { return qToolText(key, language_); }

  private:
    i18n::Language language_ = i18n::Language::English;
};

}  // namespace zelvor::widgets
