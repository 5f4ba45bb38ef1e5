#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "launcher/sim_process.h"

namespace zelvor::testing {

// A simulated unit started from the program given, or an exception that
// tells why it did not start (the test then fails with that text).
inline sim::SimProcess startedSimulator(const std::string& executable,
                                        const std::vector<std::string>& arguments = {}) {
    std::string error;
    std::optional<sim::SimProcess> process = sim::SimProcess::start(executable, arguments, error);
    if (!process) throw std::runtime_error(error);
    return std::move(*process);
}

}  // namespace zelvor::testing
