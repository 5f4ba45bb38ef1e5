#pragma once

#include <QString>
#include <array>
#include <span>

#include "compare/image_compare.h"
#include "editing/widgets/cell_overlay.h"
#include "model/injection.h"

namespace zelvor::app {

// Frames the map cells that differ from the reference of a comparison; the
// tooltip names the reference's value.
class CompareOverlay final : public widgets::CellOverlay {
  public:
    // Takes the cells among the differences.
    void show(std::span<const compare::Difference> differences);
    std::optional<widgets::CellMark> mark(editing::MapId map,
                                          editing::GridCell cell) const override;
    // How many cells of the map are marked.
    int markedCells(editing::MapId map) const;

  private:
    // The reference's value of each differing cell; empty for the others.
    using MapTips = std::array<QString, model::kMapCells>;
    std::array<MapTips, 3> tips_;
};

}  // namespace zelvor::app
