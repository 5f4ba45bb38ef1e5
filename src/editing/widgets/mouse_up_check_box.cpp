#include "editing/widgets/mouse_up_check_box.h"

#include <QMouseEvent>

namespace zelvor::widgets {

void MouseUpCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    QCheckBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit mouseReleased();
    }
}

}  // namespace zelvor::widgets
