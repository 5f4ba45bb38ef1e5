#pragma once

#include <QSpinBox>
#include <optional>

namespace zelvor::widgets {

// An edit with its up/down spinner as one widget. Typing alone changes
// nothing outside the box; the value is taken when the user
//   - steps it with the arrows (buttons, arrow keys, page keys, wheel): arrowClicked,
//   - presses Enter: enterPressed (the window moves focus on and commits),
//   - leaves the edit (design-time edits) or clicks into it (run-time table
//     editors): editExit.
// Typed text outside the range is brought to the nearest limit when taken;
// an empty or unreadable entry is dropped and the box shows its value again.
// The wheel steps the box only while it has the focus: a wheel over a box
// the user has not clicked into goes on to the page behind it.
class CommitSpinBox : public QSpinBox {
    Q_OBJECT
  public:
    enum class CommitOn { Leave, Click };

    explicit CommitSpinBox(QWidget* parent = nullptr, CommitOn commitOn = CommitOn::Leave);

    CommitOn commitOn() const { return commitOn_; }

    // Takes the typed text now (what a collect reads).
    int takeValue();
    // Shows a position (what a refresh writes): text typed and not taken is
    // dropped; an unchanged position with its own text repaints nothing.
    void showPosition(int position);

    void stepBy(int steps) override;

  signals:
    void arrowClicked();
    void enterPressed();
    void editExit();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The typed text as a number of this box, if it reads as one.
    std::optional<int> typedNumber() const;

    CommitOn commitOn_;
};

}  // namespace zelvor::widgets
