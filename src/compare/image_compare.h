#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/field.h"
#include "model/parameter_image.h"

namespace zelvor::compare {

// One element in which two images differ after the range rules. The memo
// counts as one element (index 0): only its text up to the end counts.
struct Difference {
    model::Field field;
    std::uint16_t index;
    // The page that shows the element; nothing when no page shows it.
    std::optional<int> page;
    std::string name;       // "SECTION.Field" or "SECTION.Field[i]"
    std::string edited;     // engineering value in the edited image (the memo quoted)
    std::string reference;  // the same in the reference image

    friend bool operator==(const Difference&, const Difference&) = default;
};

// Every element in which the two images differ once both are brought into
// range, in the order of the field table.
std::vector<Difference> compareImages(const model::ParameterImage& edited,
                                      const model::ParameterImage& reference);

// How many elements differ; the same count as compareImages gives, without
// the texts.
std::size_t countDifferences(const model::ParameterImage& edited,
                             const model::ParameterImage& reference);

// "name: edited -> reference", a line of the textual diff.
std::string differenceLine(const Difference& difference);

// The differences of one page (nothing: the elements no page shows), as
// indexes into the list they were grouped from.
struct PageGroup {
    std::optional<int> page;
    std::vector<std::size_t> rows;
};

// The differences grouped by page in page order, the elements no page
// shows last; pages without differences are left out.
std::vector<PageGroup> groupByPage(std::span<const Difference> differences);

// Copies the element's stored value (the whole memo for the memo) from the
// reference into the image. The caller runs the change pipeline after it.
void takeReference(model::ParameterImage& image, const model::ParameterImage& reference,
                   model::Field field, std::size_t index);

}  // namespace zelvor::compare
