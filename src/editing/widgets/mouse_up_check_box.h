#pragma once

#include <QCheckBox>

namespace zelvor::widgets {

// A check box that reports the release of the mouse button on it, after its
// state changed. Toggling with the space key changes the state only; the
// next collect of the page picks it up.
class MouseUpCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    using QCheckBox::QCheckBox;

  signals:
    void mouseReleased();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace zelvor::widgets
