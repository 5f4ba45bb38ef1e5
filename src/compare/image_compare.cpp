#include "compare/image_compare.h"

#include <algorithm>

#include "compare/element_text.h"
#include "compare/field_pages.h"
#include "editing/page_index.h"
#include "model/field_table.h"
#include "model/sanitizer.h"

namespace zelvor::compare {

namespace {

using model::FieldDescriptor;
using model::ParameterImage;

// Calls visit(field, index) for every element in which a and b differ; a
// and b are already in range.
template <typename Visit>
void forEachDifference(const ParameterImage& a, const ParameterImage& b, Visit&& visit) {
    for (const FieldDescriptor& field : model::kFieldTable) {
        if (field.kind == model::Kind::Text) {
            if (memoBytes(a) != memoBytes(b)) visit(field, 0);
            continue;
        }
        for (std::size_t i = 0; i < field.count; ++i) {
            if (a.get(field.id, i) != b.get(field.id, i)) visit(field, i);
        }
    }
}

ParameterImage inRange(ParameterImage image) {
    model::sanitize(image);
    return image;
}

}  // namespace

std::vector<Difference> compareImages(const ParameterImage& edited,
                                      const ParameterImage& reference) {
    const ParameterImage a = inRange(edited);
    const ParameterImage b = inRange(reference);
    std::vector<Difference> differences;
    forEachDifference(a, b, [&](const FieldDescriptor& field, std::size_t i) {
        Difference d{field.id, static_cast<std::uint16_t>(i), pageShowing(field.id, i), {}, {}, {}};
        if (field.kind == model::Kind::Text) {
            d.name = model::qualifiedName(field.id);
            d.edited = quoted(memoBytes(a));
            d.reference = quoted(memoBytes(b));
        } else {
            d.name = elementName(field, i);
            d.edited = engineeringText(a, field, i);
            d.reference = engineeringText(b, field, i);
        }
        differences.push_back(std::move(d));
    });
    return differences;
}

std::size_t countDifferences(const ParameterImage& edited, const ParameterImage& reference) {
    std::size_t count = 0;
    forEachDifference(inRange(edited), inRange(reference),
                      [&count](const FieldDescriptor&, std::size_t) { ++count; });
    return count;
}

std::string differenceLine(const Difference& difference) {
    return difference.name + ": " + difference.edited + " -> " + difference.reference;
}

std::vector<PageGroup> groupByPage(std::span<const Difference> differences) {
    // One slot per page and one for the elements no page shows.
    std::vector<PageGroup> slots(editing::kPageCount + 1);
    for (int page = 0; page < editing::kPageCount; ++page)
        slots[static_cast<std::size_t>(page)].page = page;
    for (std::size_t row = 0; row < differences.size(); ++row) {
        const std::optional<int> page = differences[row].page;
        const bool known = page && *page >= 0 && *page < editing::kPageCount;
        slots[known ? static_cast<std::size_t>(*page) : editing::kPageCount].rows.push_back(row);
    }
    std::erase_if(slots, [](const PageGroup& group) { return group.rows.empty(); });
    return slots;
}

void takeReference(ParameterImage& image, const ParameterImage& reference, model::Field id,
                   std::size_t index) {
    const FieldDescriptor& field = model::descriptor(id);
    if (field.kind == model::Kind::Text) {
        std::copy_n(reference.bytes().begin() + field.offset, field.count,
                    image.bytes().begin() + field.offset);
        return;
    }
    if (index < field.count) image.set(id, index, reference.get(id, index));
}

}  // namespace zelvor::compare
