#pragma once

#include <cstdint>
#include <string_view>

namespace zelvor::editing {

// The colours of the window's labels, gauges and edits. Each one carries a
// meaning: lime the live operating point, red faults and errors, yellow
// warnings, fuchsia and aqua active inputs and outputs; labels rest on button
// face and edits on window colour.
enum class Colour : std::uint8_t {
    ButtonFace,
    Window,
    White,
    Red,
    Lime,
    Aqua,
    Fuchsia,
    Yellow,
    Blue
};

// The toolkit-neutral name ("clBtnFace", "clLime", ...), for logs and the
// terminal view.
constexpr std::string_view colourName(Colour colour) {
    switch (colour) {
        case Colour::ButtonFace:
            return "clBtnFace";
        case Colour::Window:
            return "clWindow";
        case Colour::White:
            return "clWhite";
        case Colour::Red:
            return "clRed";
        case Colour::Lime:
            return "clLime";
        case Colour::Aqua:
            return "clAqua";
        case Colour::Fuchsia:
            return "clFuchsia";
        case Colour::Yellow:
            return "clYellow";
        case Colour::Blue:
            return "clBlue";
    }
    return "clBtnFace";
}

}  // namespace zelvor::editing
