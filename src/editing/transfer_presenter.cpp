#include "editing/transfer_presenter.h"

#include <cstdio>

#include "link/unit_identification.h"

namespace zelvor::editing {

namespace {

using i18n::MessageKey;
using link::StatusMessage;
using link::StatusTone;

// The suffix of a success is the same in every language.
constexpr const char* kOkSuffix = " OK";

}  // namespace

std::string TransferPresenter::text(StatusMessage message) const {
    auto word = [this](MessageKey key) { return messages_.text(key); };
    auto stopped = [&word](MessageKey progress) {
        return word(progress) + " " + word(MessageKey::MsgStopped);
    };
    switch (message) {
        case StatusMessage::None:
            return {};
        case StatusMessage::ProgramProgress:
            return word(MessageKey::MsgProgramProgress);
        case StatusMessage::VerifyProgress:
            return word(MessageKey::MsgVerifyProgress);
        case StatusMessage::ReadProgress:
            return word(MessageKey::MsgReadProgress);
        case StatusMessage::Saving:
            return word(MessageKey::MsgSaving);
        case StatusMessage::ProgramSucceeded:
            return word(MessageKey::MsgProgramProgress) + kOkSuffix;
        case StatusMessage::VerifySucceeded:
            return word(MessageKey::MsgVerifyProgress) + kOkSuffix;
        case StatusMessage::ProgramFailed:
            return word(MessageKey::MsgProgramError);
        case StatusMessage::VerifyFailed:
            return word(MessageKey::MsgVerifyError);
        case StatusMessage::ReadFailed:
            return word(MessageKey::MsgReadError);
        case StatusMessage::ProgramStopped:
            return stopped(MessageKey::MsgProgramProgress);
        case StatusMessage::VerifyStopped:
            return stopped(MessageKey::MsgVerifyProgress);
        case StatusMessage::ReadStopped:
            return stopped(MessageKey::MsgReadProgress);
        case StatusMessage::Announcement:
            return announcement_;
    }
    return {};
}

StatusLabel TransferPresenter::statusLabel(const link::TransferStatus& status) const {
    StatusLabel label;
    label.text = text(status.message);
    label.visible = status.visible;
    switch (status.tone) {
        case StatusTone::Plain:
            label.background = Colour::ButtonFace;
            break;
        case StatusTone::Failure:
            label.background = Colour::Red;
            break;
        case StatusTone::Warning:
            label.background = Colour::Yellow;
            break;
        case StatusTone::Notice:
            label.background = announcementColour_;
            break;
    }
    return label;
}

std::string versionMismatchText(const i18n::MessageTable& messages, int unitVersion) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "  PC-%d, IGN-%d", link::kProgramVersion, unitVersion);
    return messages.text(i18n::MessageKey::MsgVersionMismatch) + suffix;
}

}  // namespace zelvor::editing
