#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace zelvor::i18n {

// A hint is "tooltip|status-bar text". Only the first '|' separates; a hint without one
// is used for both. An empty tooltip ("|Set Englich menu") means the control shows no
// tooltip but still puts its text in the status bar.
struct HintParts {
    std::string_view tooltip;
    std::string_view statusText;
};

HintParts splitHint(std::string_view hint);
// The parts are views into the hint, so a temporary string would leave them dangling.
template <typename String>
requires std::same_as<String, std::string> HintParts splitHint(String&&)
= delete;

// Captions mark their keyboard accelerator with '&' before the letter; "&&" stands for a
// literal '&'. Qt menus, buttons, check boxes, group boxes and tabs read captions the same
// way, so those captions are handed to Qt unchanged. A QLabel without a buddy shows '&'
// literally: give labels stripAccelerators(caption) (no label caption carries one today).
// A text that is not a caption, such as a bike name ("Zelvor N1 & Lambda"), must go
// through escapeAmpersands before it is used as a caption; in a combo box, tooltip, status
// bar or window title it is shown as it stands.

// The caption as shown: single '&' marks removed, "&&" turned into '&'. A '&' at the very
// end marks nothing and is kept.
std::string stripAccelerators(std::string_view caption);

// The accelerator letter as a UTF-8 character ("&Öffnen" gives "Ö", "Če&sky" gives "s"),
// or empty when the caption marks none. The first marked letter counts.
std::string_view acceleratorLetter(std::string_view caption);
template <typename String>  // the result views the caption: no temporaries
requires std::same_as<String, std::string> std::string_view acceleratorLetter(String&&)
= delete;

// The text with every '&' doubled, so a caption shows it literally.
std::string escapeAmpersands(std::string_view text);

}  // namespace zelvor::i18n
