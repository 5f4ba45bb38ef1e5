#pragma once

#include <QString>

#include "i18n/tool_texts.h"

namespace zelvor::widgets {

// A tool text as the widgets take it.
inline QString qToolText(i18n::ToolText key, i18n::Language language) {
    const std::string_view text = i18n::toolText(key, language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zelvor::widgets
