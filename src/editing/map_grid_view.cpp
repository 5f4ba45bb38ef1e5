#include "editing/map_grid_view.h"

namespace zelvor::editing {

namespace {

GridPageView bottomRowOf(int page, bool coupled, bool same) {
    if (page == kPageAdvance)
        return {.msBoxVisible = false, .jet12Visible = false, .extrasVisible = true};
    // The ms display of map 2 is pointless while map 2 only follows map 1.
    return {.msBoxVisible = page == kPageJet1A || !coupled,
            .jet12Visible = coupled || same,
            .extrasVisible = false};
}

}  // namespace

const std::string& throttleRowText(int row) {
    static const std::array<std::string, kMapRows> texts = [] {
        std::array<std::string, kMapRows> captions;
        for (std::size_t r = 0; r < captions.size(); ++r) {
            captions[r] = std::to_string(model::kMapThrottleRows[r]) + "%";
        }
        return captions;
    }();
    return texts[static_cast<std::size_t>(row)];
}

MapGridView mapGridView(int page, const model::ParameterImage& image, bool msBoxChecked) {
    MapGridView view;
    const bool coupled = model::isCoupled(image);
    const bool same = model::isSame(image);
    view.separateChecked = !coupled && !same;
    view.coupledChecked = coupled;
    view.sameChecked = same;
    view.jet2TabVisible = !same;

    const bool editable = !(page == kPageJet2A && coupled);
    const bool single = page == kPageAdvance && image.get(model::Field::ADVANCE_MISC_UseTps) == 0;
    const bool ms = (page == kPageJet1A || page == kPageJet2A) && msBoxChecked;

    view.gridEnabled = editable;
    view.singleRow = single;
    view.lastRowTop = grid_layout::rowLabelTop(single ? 0 : kMapRows - 1) - 3;
    for (int r = 0; r < kMapRows; ++r) {
        GridRowView& row = view.rows[static_cast<std::size_t>(r)];
        const bool shown = !single || r == kMapRows - 1;
        row.editsVisible = shown && !ms;
        row.spinnersVisible = shown && editable;
        row.msLabelsVisible = shown && ms;
    }
    view.cellEditsEnabled = editable;
    view.throttleLabelsVisible = !single;
    view.columnButtonsVisible = editable && !single;
    view.axisSpinnersVisible = editable;
    view.axisEditsEnabled = editable;
    view.toolsVisible = editable;
    view.jet12Text = same ? kSameText : kCoupledText;
    view.jet12Colour = same ? Colour::Aqua : Colour::Yellow;
    view.tpsBoxVisible = page == kPageAdvance;
    if (isMapPage(page)) view.page = bottomRowOf(page, coupled, same);

    view.msDisplay = ms;
    if (ms) {
        const model::Field cells = mapDescriptor(page)->cells;
        for (std::size_t k = 0; k < kMapCells; ++k) view.msTexts[k] = msText(image.get(cells, k));
    }
    return view;
}

}  // namespace zelvor::editing
