#pragma once

#include <QWidget>

class QToolButton;

namespace zelvor::widgets {

// Two arrow buttons stacked in one control, up above down, that step a value
// without showing one (CSpinButtonPolohaA steps the injection positions).
// Holding an arrow repeats its signal.
class TwoArrowSpinButton : public QWidget {
    Q_OBJECT
  public:
    explicit TwoArrowSpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  signals:
    void up();
    void down();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace zelvor::widgets
