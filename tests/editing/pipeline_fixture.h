#pragma once

#include <string>
#include <vector>

#include "editing/change_pipeline.h"
#include "model/parameter_image.h"
#include "model/sanitizer.h"

namespace zelvor::editing::testing {

// The window and link as the pipeline sees them: records what it is asked to
// do, in order.
struct FakeWindow {
    model::ParameterImage image;
    int page = 0;
    bool programAfterChange = false;
    std::vector<int> markedBlocks;
    std::vector<std::string> events;
    int programmingStarts = 0;
    bool canUndo = true;
    bool canRedo = true;

    FakeWindow() {
        // A sanitized image, so that only the edits of a test change it.
        model::sanitize(image);
    }

    PipelineHooks hooks() {
        PipelineHooks h;
        h.refresh = [this] { events.push_back("refresh"); };
        h.switchPage = [this](int p) {
            page = p;
            events.push_back("switch " + std::to_string(p));
        };
        h.currentPage = [this] { return page; };
        h.programAfterChange = [this] { return programAfterChange; };
        h.markBlock = [this](int n) { markedBlocks.push_back(n); };
        h.startProgramming = [this] { ++programmingStarts; };
        h.undoRedoEnabled = [this](bool u, bool r) {
            canUndo = u;
            canRedo = r;
        };
        return h;
    }
};

}  // namespace zelvor::editing::testing
