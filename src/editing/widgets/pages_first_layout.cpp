#include "editing/widgets/pages_first_layout.h"

namespace zelvor::widgets {

void buildLabelledSpins(QWidget* parent, ControlFactory& factory,
                        std::span<const LabelledSpin> rows, const RowLayout& layout) {
    int top = layout.top;
    for (const LabelledSpin& row : rows) {
        factory.label(parent, row.label,
                      QRect(layout.left, top + kCaptionDrop, layout.labelWidth, kCaptionHeight));
        factory.boundSpinBox(
            parent, row.upDown,
            QRect(layout.left + layout.labelWidth + 4, top, layout.spinWidth, kSpinHeight));
        top += layout.pitch;
    }
}

}  // namespace zelvor::widgets
