#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "editing/map_content.h"
#include "editing/map_tools.h"

namespace zelvor::widgets {

// What an overlay says about one cell of a map: a tint blended over the
// cell's own colour (its alpha is the share; opaque means half), a frame
// drawn inside the cell's border, and a line or more for its tooltip.
struct CellMark {
    std::optional<QColor> tint;
    std::optional<QColor> frame;
    QString toolTip;
};

// Something shown over the cells of a map without changing them: the
// differences to a reference tune, what a ride log says of each cell. The
// grid asks for every cell it paints, so mark() must be cheap.
class CellOverlay {
  public:
    virtual ~CellOverlay() = default;
    virtual std::optional<CellMark> mark(editing::MapId map, editing::GridCell cell) const = 0;
};

// The places for overlays on a grid: one of each kind at a time.
enum class OverlayRole { Compare, Ride };
inline constexpr int kOverlayRoles = 2;

}  // namespace zelvor::widgets
