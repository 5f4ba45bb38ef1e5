#pragma once

#include <string>
#include <utility>

#include "editing/colour.h"
#include "i18n/messages.h"
#include "link/transfer_engine.h"

namespace zelvor::editing {

// The status label under the pages as it is to be shown.
struct StatusLabel {
    std::string text;
    Colour background = Colour::ButtonFace;
    bool visible = false;

    friend bool operator==(const StatusLabel&, const StatusLabel&) = default;
};

// Puts the transfer engine's status into the words of the message table's
// current language ("Program device:", "Verify: OK", "Read error!") and
// colours: progress and success on button face, failures red, a stopped
// transfer yellow.
class TransferPresenter {
  public:
    explicit TransferPresenter(const i18n::MessageTable& messages) : messages_(messages) {}

    // The words and colour of the next announcement the engine puts up.
    void announce(std::string text, Colour background) {
        announcement_ = std::move(text);
        announcementColour_ = background;
    }

    StatusLabel statusLabel(const link::TransferStatus& status) const;
    std::string text(link::StatusMessage message) const;

  private:
    const i18n::MessageTable& messages_;
    std::string announcement_;
    Colour announcementColour_ = Colour::White;
};

// "Unmatched version of PC and Ignition programs!  PC-63, IGN-62" in the
// current language.
std::string versionMismatchText(const i18n::MessageTable& messages, int unitVersion);

}  // namespace zelvor::editing
