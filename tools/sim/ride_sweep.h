#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "model/parameter_image.h"
#include "sim/engine_model.h"

namespace zelvor::sim {

// A block of map cells, rows and columns inclusive.
struct CellBlock {
    int firstRow = 0;
    int lastRow = 9;
    int firstColumn = 0;
    int lastColumn = 14;

    friend bool operator==(const CellBlock&, const CellBlock&) = default;
};

// "R0-R1,C0-C1" (a single number stands for a row or column alone), rows
// 0..9 and columns 0..14; nothing with `error` set when the text is no block.
std::optional<CellBlock> parseCellBlock(std::string_view text, std::string& error);

// The sweep ride: the engine held for a while at the centre of each
// measurable cell of injection map 1 in turn (rows below 60 % throttle, row
// by row, inside the block), warm from the start, over and over.
class RideSweep {
  public:
    static constexpr std::chrono::milliseconds kHold{5000};
    static constexpr int kMeasurableBelowPercent = 60;

    explicit RideSweep(CellBlock block = {});

    // How many cells the sweep visits (0 when the block holds no measurable row).
    int cellCount() const;
    // The held point at a moment: the centre of the cell on the image's
    // own axis of map 1.
    HeldPoint pointAt(std::chrono::milliseconds sinceStart,
                      const model::ParameterImage& image) const;
    EngineState engineAt(std::chrono::milliseconds sinceStart,
                         const model::ParameterImage& image) const;

  private:
    CellBlock block_;
    int lastMeasurableRow_ = 0;
};

}  // namespace zelvor::sim
