#pragma once

#include <QPlainTextEdit>

#include "editing/code_page.h"

namespace zelvor::widgets {

// The note kept in the unit (Memo1). It holds no more than the image can
// store: editing::kMemoLength bytes, where each line break takes two (CR LF).
// Typing beyond that is refused and pasted text is cut to fit, and a
// character the memo's code page has no byte for is refused, typed or pasted,
// so the text on screen is always exactly what the image keeps. Tab moves the
// focus on.
class MemoEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MemoEdit(QWidget* parent = nullptr);

    // Bytes the text takes in the image.
    static int storedLength(const QString& text);
    // The text without the characters the code page cannot hold; those go,
    // each once and in order, to refused.
    static QString keepRepresentable(const QString& text, editing::CodePage page, QString& refused);

    editing::CodePage codePage() const { return codePage_; }
    void setCodePage(editing::CodePage page) { codePage_ = page; }

  signals:
    // Characters the code page cannot hold were typed or pasted and left out.
    void charactersRefused(const QString& characters);
    // A key that types into the memo was pressed; emitted before the memo
    // applies it.
    void keyPressed();
    // The memo lost the focus to another control.
    void editExit();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    void noteChange(int position, int removed, int added);
    void limitLength();
    // Removes from the text just changed what the code page cannot hold (an
    // input method, say, that bypassed the key and paste checks).
    void dropUnrepresentable();

    int changeStart_ = 0;
    int changeEnd_ = 0;
    bool limiting_ = false;
    editing::CodePage codePage_ = editing::CodePage::Windows1252;
};

}  // namespace zelvor::widgets
