#pragma once

#include <QPlainTextEdit>

namespace zelvor::widgets {

// The note kept in the unit (Memo1). It holds no more than the image can
// store: editing::kMemoLength bytes, where each line break takes two (CR LF).
// Typing beyond that is refused and pasted text is cut to fit, so the text
// on screen is always exactly what the image keeps. Tab moves the focus on.
class MemoEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MemoEdit(QWidget* parent = nullptr);

    // Bytes the text takes in the image.
    static int storedLength(const QString& text);

  signals:
    // A key that types into the memo was pressed; emitted before the memo
    // applies it.
    void keyPressed();
    // The memo lost the focus to another control.
    void editExit();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void noteChange(int position, int removed, int added);
    void limitLength();

    int changeStart_ = 0;
    int changeEnd_ = 0;
    bool limiting_ = false;
};

}  // namespace zelvor::widgets
