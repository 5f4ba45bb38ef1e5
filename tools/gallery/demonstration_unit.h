#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "model/parameter_image.h"
#include "sim/pseudo_terminal.h"

namespace zelvor::gallery {

// A unit for the pictures: the far end of a pseudo-terminal that the window
// opens as its serial port. Before each tick of the window it takes away
// what the window sent and puts one monitor answer on the line: the
// simulated engine at a fixed moment of its ride, so every picture shows the
// same running engine.
class DemonstrationUnit {
  public:
    // On failure returns nothing and sets error.
    static std::optional<DemonstrationUnit> create(std::chrono::milliseconds moment,
                                                   std::string& error);

    // The device the window opens.
    const std::string& devicePath() const { return line_.devicePath(); }

    // Puts the answer of the engine that runs on this image on the line;
    // false when the line takes it not whole.
    bool answer(const model::ParameterImage& image);

  private:
    DemonstrationUnit(sim::PseudoTerminal line, std::chrono::milliseconds moment)
        : line_(std::move(line)), moment_(moment) {}

    sim::PseudoTerminal line_;
    std::chrono::milliseconds moment_;
};

}  // namespace zelvor::gallery
