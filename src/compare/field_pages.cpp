#include "compare/field_pages.h"

#include <array>
#include <cstdint>

#include "editing/map_grid_model.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "model/field_table.h"
#include "model/parameter_image.h"

namespace zelvor::compare {

namespace {

constexpr std::int8_t kNoPage = -1;

std::size_t elementOffset(const model::FieldDescriptor& field, std::size_t index) {
    const std::size_t width = field.width == model::Width::Word ? 2 : 1;
    return field.offset + index * width;
}

// The page of every element, by the offset of its first byte; built once
// from the binding tables so that a new control needs no entry here.
using PageByOffset = std::array<std::int8_t, model::ParameterImage::kSize>;

PageByOffset buildPages() {
    PageByOffset pages;
    pages.fill(kNoPage);
    const auto mark = [&pages](model::Field id, std::size_t index, int page) {
        const model::FieldDescriptor& field = model::descriptor(id);
        const std::size_t offset = elementOffset(field, index);
        if (offset < pages.size()) pages[offset] = static_cast<std::int8_t>(page);
    };
    for (const editing::Binding& binding : editing::allBindings()) {
        mark(binding.field, binding.fieldIndex, binding.page);
    }
    for (const int page : {editing::kPageAdvance, editing::kPageJet1A, editing::kPageJet2A}) {
        const std::optional<editing::MapDescriptor> map = editing::mapDescriptor(page);
        if (!map) continue;
        for (std::size_t i = 0; i < model::descriptor(map->axis).count; ++i)
            mark(map->axis, i, page);
        for (std::size_t i = 0; i < model::descriptor(map->cells).count; ++i)
            mark(map->cells, i, page);
    }
    return pages;
}

}  // namespace

std::optional<int> pageShowing(model::Field id, std::size_t index) {
    static const PageByOffset pages = buildPages();
    const model::FieldDescriptor& field = model::descriptor(id);
    if (index >= field.count) return std::nullopt;
    const std::size_t offset = elementOffset(field, index);
    if (offset >= pages.size() || pages[offset] == kNoPage) return std::nullopt;
    return pages[offset];
}

}  // namespace zelvor::compare
