#pragma once

#include <QColor>

namespace zelvor::widgets {

// The shade of a cell holding value on a map whose cells run from lowest to
// highest: a calm scale from a pale blue (low) over a pale sand to a pale
// rose (high), light enough for black numbers and far from the live cell's
// lime and the selection's blue. A flat map is all sand.
QColor shadeOf(int value, int lowest, int highest);

// The colour a share (0..1) of the way from a toward b.
QColor blend(QColor a, QColor b, double share);

}  // namespace zelvor::widgets
