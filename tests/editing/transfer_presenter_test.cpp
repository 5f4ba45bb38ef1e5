// The transfer status in the words and colours of the status label.
#include "editing/transfer_presenter.h"

#include <gtest/gtest.h>

namespace zelvor::editing {
namespace {

using link::StatusMessage;
using link::StatusTone;
using link::TransferStatus;

TEST(TransferPresenter, EveryStatusInWords) {
    const i18n::MessageTable messages;
    const TransferPresenter presenter(messages);
    const std::pair<StatusMessage, const char*> cases[] = {
        {StatusMessage::None, ""},
        {StatusMessage::ProgramProgress, "Program device:"},
        {StatusMessage::VerifyProgress, "Verify:"},
        {StatusMessage::ReadProgress, "Read:"},
        {StatusMessage::Saving, "Saving:"},
        {StatusMessage::ProgramSucceeded, "Program device: OK"},
        {StatusMessage::VerifySucceeded, "Verify: OK"},
        {StatusMessage::ProgramFailed, "Program error!"},
        {StatusMessage::VerifyFailed, "Verify error!"},
        {StatusMessage::ReadFailed, "Read error!"},
        {StatusMessage::ProgramStopped, "Program device: stopped"},
        {StatusMessage::VerifyStopped, "Verify: stopped"},
        {StatusMessage::ReadStopped, "Read: stopped"},
    };
    for (const auto& [message, text] : cases) {
        EXPECT_EQ(presenter.text(message), text) << static_cast<int>(message);
    }
}

TEST(TransferPresenter, WordsFollowTheLanguageAndOkStaysTheSame) {
    i18n::MessageTable messages;
    const TransferPresenter presenter(messages);
    messages.apply(i18n::Language::French);
    EXPECT_EQ(presenter.text(StatusMessage::ReadProgress), "Lire");
    EXPECT_EQ(presenter.text(StatusMessage::VerifySucceeded), "Vérifier: OK");
    messages.apply(i18n::Language::German);
    EXPECT_EQ(presenter.text(StatusMessage::ReadFailed), "Lesefehler");
}

TEST(TransferPresenter, TheToneGivesTheColourAndAnAnnouncementItsOwn) {
    const i18n::MessageTable messages;
    TransferPresenter presenter(messages);
    EXPECT_EQ(presenter.statusLabel({StatusMessage::ProgramProgress, StatusTone::Plain, true}),
              (StatusLabel{"Program device:", Colour::ButtonFace, true}));
    EXPECT_EQ(presenter.statusLabel({StatusMessage::VerifyFailed, StatusTone::Failure, true}),
              (StatusLabel{"Verify error!", Colour::Red, true}));
    EXPECT_EQ(presenter.statusLabel({StatusMessage::ReadStopped, StatusTone::Warning, false}),
              (StatusLabel{"Read: stopped", Colour::Yellow, false}));

    presenter.announce("Date and time of printing:  1.1.2025", Colour::White);
    EXPECT_EQ(presenter.statusLabel({StatusMessage::Announcement, StatusTone::Notice, true}),
              (StatusLabel{"Date and time of printing:  1.1.2025", Colour::White, true}));
    // The programming success that replaces an announcement keeps its colour.
    EXPECT_EQ(presenter.statusLabel({StatusMessage::ProgramSucceeded, StatusTone::Notice, true}),
              (StatusLabel{"Program device: OK", Colour::White, true}));
}

TEST(TransferPresenter, VersionMismatchTextInEveryLanguage) {
    i18n::MessageTable messages;
    EXPECT_EQ(versionMismatchText(messages, 62),
              "Unmatched version of PC and Ignition programs!  PC-63, IGN-62");
    messages.apply(i18n::Language::Czech);
    EXPECT_EQ(versionMismatchText(messages, 255),
              "Neshodné verze proramu v PC a v zapalování!  PC-63, IGN-255");
}

}  // namespace
}  // namespace zelvor::editing
