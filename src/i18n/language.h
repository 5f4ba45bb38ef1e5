#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvor::i18n {

// The user-interface language. Every four-language table is in this order.
enum class Language : std::uint8_t { English, German, French, Czech };

inline constexpr std::size_t kLanguageCount = 4;

}  // namespace zelvor::i18n
