#include "sim/ride_sweep.h"

#include <algorithm>
#include <charconv>

#include "model/injection.h"

namespace zelvor::sim {

namespace {

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "A-B" or "A" within 0..last.
bool parseRange(std::string_view text, int last, int& first, int& second) {
    const std::size_t dash = text.find('-');
    const std::optional<int> a = number(text.substr(0, dash));
    const std::optional<int> b = dash == std::string_view::npos ? a : number(text.substr(dash + 1));
    if (!a || !b || *a < 0 || *b < *a || *b > last) return false;
    first = *a;
    second = *b;
    return true;
}

}  // namespace

std::optional<CellBlock> parseCellBlock(std::string_view text, std::string& error) {
    CellBlock block;
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos ||
        !parseRange(text.substr(0, comma), model::kMapRows - 1, block.firstRow, block.lastRow) ||
        !parseRange(text.substr(comma + 1), model::kMapColumns - 1, block.firstColumn,
                    block.lastColumn)) {
        error = "--cells takes rows and columns as R0-R1,C0-C1 (rows 0..9, columns 0..14), not '" +
                std::string(text) + "'";
        return std::nullopt;
    }
    return block;
}

RideSweep::RideSweep(CellBlock block) : block_(block) {
    int last = -1;
    for (int r = 0; r < model::kMapRows; ++r) {
        if (model::kMapThrottleRows[static_cast<std::size_t>(r)] < kMeasurableBelowPercent)
            last = r;
    }
    lastMeasurableRow_ = last;
}

int RideSweep::cellCount() const {
    const int rows = std::min(block_.lastRow, lastMeasurableRow_) - block_.firstRow + 1;
    const int columns = block_.lastColumn - block_.firstColumn + 1;
    return rows > 0 && columns > 0 ? rows * columns : 0;
}

HeldPoint RideSweep::pointAt(std::chrono::milliseconds sinceStart,
                             const model::ParameterImage& image) const {
    const int cells = cellCount();
    if (cells == 0) return HeldPoint{};  // nothing to sweep: the engine stands
    const long long step = std::max<long long>(0, sinceStart.count()) / kHold.count();
    const int index = static_cast<int>(step % cells);
    const int columns = block_.lastColumn - block_.firstColumn + 1;
    const int row = block_.firstRow + index / columns;
    const int column = block_.firstColumn + index % columns;
    HeldPoint point;
    point.rpm = image.get(model::Field::RPM_JET_1A_Rpm, static_cast<std::size_t>(column)) * 100.0;
    point.throttlePercent = model::kMapThrottleRows[static_cast<std::size_t>(row)];
    return point;
}

EngineState RideSweep::engineAt(std::chrono::milliseconds sinceStart,
                                const model::ParameterImage& image) const {
    return simulateHeldEngine(sinceStart, image, pointAt(sinceStart, image));
}

}  // namespace zelvor::sim
