#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "i18n/language.h"

namespace zelvor::i18n {

// Every message key, in table order: first the messages and progress texts,
// then the words the live monitor labels are composed of.
#define ZELVOR_MESSAGE_KEYS(X) \
    X(MsgHelpFile)             \
    X(MsgHelpOpenError)        \
    X(MsgComOpenError)         \
    X(MsgProgramProgress)      \
    X(MsgVerifyProgress)       \
    X(MsgReadProgress)         \
    X(MsgProgramError)         \
    X(MsgVerifyError)          \
    X(MsgReadError)            \
    X(MsgSaving)               \
    X(MsgVersionMismatch)      \
    X(MsgWrongBike)            \
    X(MsgAskDefaults)          \
    X(MsgOpenFileError)        \
    X(MsgIgnFileVersion)       \
    X(MsgBikeNotSupported)     \
    X(MsgBaseAdvance)          \
    X(MsgCylinderCorrection)   \
    X(MsgPrintDate)            \
    X(MsgPrintError)           \
    X(MsgMemoCharacter)        \
    X(MsgStopped)              \
    X(MsgAskCloseProgramming)  \
    X(MsgSettingsNotSaved)     \
    X(MsgAskSaveParameters)    \
    X(MsgAdvance)              \
    X(MsgProgramCount)         \
    X(MsgBlocking)             \
    X(MsgStartLimiter)         \
    X(MsgIgnLimiter)           \
    X(MsgJetLimiter)           \
    X(MsgRetardLimiter)        \
    X(MsgYes)                  \
    X(MsgNo)                   \
    X(MsgTwinkle)              \
    X(MsgPickup)               \
    X(MsgRunning)              \
    X(MsgNoSignal)             \
    X(MsgInjTime)              \
    X(MsgMaxInj)               \
    X(MsgPosition)             \
    X(MsgGear)                 \
    X(MsgSpeed)                \
    X(MsgGearShiftLight)       \
    X(MsgClutchMaster)         \
    X(MsgTachoLambda)          \
    X(MsgTacho)                \
    X(MsgLambda)               \
    X(MsgCoolant)              \
    X(MsgSwitchStart)          \
    X(MsgClutch)               \
    X(MsgIdle)                 \
    X(MsgSideStand)            \
    X(MsgOilOk)                \
    X(MsgLambdaHeat)           \
    X(MsgFan)                  \
    X(MsgFuel)

#define ZELVOR_ENUMERATOR(name) name,
enum class MessageKey : std::uint8_t { ZELVOR_MESSAGE_KEYS(ZELVOR_ENUMERATOR) };
#undef ZELVOR_ENUMERATOR

#define ZELVOR_COUNT_ONE(name) +1
inline constexpr std::size_t kMessageKeyCount = 0 ZELVOR_MESSAGE_KEYS(ZELVOR_COUNT_ONE);
#undef ZELVOR_COUNT_ONE

// The key's name as written in code ("MsgYes").
std::string_view keyName(MessageKey key);
std::optional<MessageKey> findMessageKey(std::string_view name);

// The stored variant of a key in one language, before any composing: for
// MsgHelpOpenError this is only the prefix, for MsgTachoLambda it is empty.
std::string_view storedVariant(MessageKey key, Language language);

// The message texts in the current language. Callers read the current text
// each time they show it, so a language change reaches them at once.
class MessageTable {
  public:
    explicit MessageTable(Language language = Language::English) { apply(language); }

    // Selects every key's variant of the language, then composes the help
    // file error (prefix + help file name + " !") and "Tacho/Lambda".
    void apply(Language language);

    Language language() const { return language_; }
    const std::string& text(MessageKey key) const { return texts_[static_cast<std::size_t>(key)]; }

  private:
    Language language_ = Language::English;
    std::array<std::string, kMessageKeyCount> texts_;
};

// A live label's text while no unit answers: the current text of a message
// key followed by a fixed suffix.
struct NoConnectionPlaceholder {
    std::string_view label;
    MessageKey key;
    std::string_view suffix;
};

extern const std::array<NoConnectionPlaceholder, 24> kNoConnectionPlaceholders;

// Label name and placeholder text of every placeholder row, in row order.
std::vector<std::pair<std::string_view, std::string>> noConnectionTexts(
    const MessageTable& messages);

}  // namespace zelvor::i18n
