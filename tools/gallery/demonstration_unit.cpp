#include "gallery/demonstration_unit.h"

#include <unistd.h>

#include <array>
#include <cstdint>

#include "sim/engine_model.h"
#include "sim/monitor_frame.h"

namespace zelvor::gallery {

std::optional<DemonstrationUnit> DemonstrationUnit::create(std::chrono::milliseconds moment,
                                                           std::string& error) {
    std::optional<sim::PseudoTerminal> line = sim::PseudoTerminal::create(error);
    if (!line) return std::nullopt;
    return DemonstrationUnit(std::move(*line), moment);
}

bool DemonstrationUnit::answer(const model::ParameterImage& image) {
    // The window's polls are not read one by one: the engine stands still at
    // its moment, so every poll has the same answer.
    std::array<std::uint8_t, 4096> sent{};
    while (::read(line_.masterFd(), sent.data(), sent.size()) > 0) {
    }
    const link::LinkFrame frame =
        sim::encodeMonitorFrame(sim::simulateEngine(moment_, image), sim::UnitStatus{});
    const auto& bytes = frame.bytes();
    return ::write(line_.masterFd(), bytes.data(), bytes.size()) ==
           static_cast<ssize_t>(bytes.size());
}

}  // namespace zelvor::gallery
