#pragma once

#include <string>
#include <vector>

#include "editing/change_pipeline.h"
#include "editing/option_handlers.h"
#include "editing/window_state.h"
#include "model/parameter_image.h"
#include "model/sanitizer.h"

namespace zelvor::editing::testing {

// The window as the handlers see it: its state, and the steps on its page,
// recorded in order.
struct FakeWindow {
    model::ParameterImage image;
    WindowState state;
    std::vector<std::string> events;

    FakeWindow() {
        // A sanitized image, so that only the edits of a test change it.
        model::sanitize(image);
        state.currentPage = 0;
    }

    OptionHandlers::Hooks pageSteps() {
        return {.collect = [this] { events.push_back("collect"); },
                .viewUpdate = [this] { events.push_back("view"); },
                .refresh = [this] { events.push_back("refresh"); }};
    }
};

// The blocks of a block set, lowest first.
inline std::vector<int> blocksOf(const BlockSet& blocks) {
    std::vector<int> numbers;
    for (int n = 1; n <= model::ParameterImage::kBlockCount; ++n) {
        if (blocks.test(static_cast<std::size_t>(n))) numbers.push_back(n);
    }
    return numbers;
}

}  // namespace zelvor::editing::testing
