#include "editing/widgets/bike_memo.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <algorithm>

#include "editing/code_page.h"
#include "editing/memo_text.h"

namespace zelvor::widgets {

namespace {

constexpr int kMaximumLength = static_cast<int>(editing::kMemoLength);

// Bytes one character of the plain text takes in the image. A surrogate
// pair is one character (its low half counts nothing).
int storedWidth(QChar c) {
    if (c == QLatin1Char('\n')) return 2;
    return c.isLowSurrogate() ? 0 : 1;
}

}  // namespace

MemoEdit::MemoEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(document(), &QTextDocument::contentsChange, this, &MemoEdit::noteChange);
    connect(this, &QPlainTextEdit::textChanged, this, &MemoEdit::limitLength);
}

int MemoEdit::storedLength(const QString& text) {
    // Both code pages store one byte per character, so either gives the length.
    const std::string utf8 = text.toStdString();
    return static_cast<int>(editing::memoBytes(utf8, editing::CodePage::Windows1252).size());
}

void MemoEdit::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty()) emit keyPressed();
    QPlainTextEdit::keyPressEvent(event);
}

void MemoEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
        emit editExit();
    }
}

void MemoEdit::noteChange(int position, int /*removed*/, int added) {
    if (limiting_) return;
    changeStart_ = position;
    changeEnd_ = position + added;
}

void MemoEdit::limitLength() {
    if (limiting_) return;
    const QString text = toPlainText();
    int excess = storedLength(text) - kMaximumLength;
    if (excess <= 0) return;

    limiting_ = true;
    // Cut the surplus from the end of what was just inserted, so the text
    // that was there before stays as it was; anything still too long (never
    // expected) is cut from the end.
    const int length = static_cast<int>(text.size());
    int end = std::clamp(changeEnd_, 0, length);
    int start = end;
    const int floor = std::clamp(changeStart_, 0, end);
    while (excess > 0 && start > floor) {
        --start;
        excess -= storedWidth(text[start]);
    }
    if (start > 0 && text[start].isLowSurrogate()) --start;
    if (excess > 0) {
        start = 0;
        end = length;
        int kept = 0;
        while (start < length && kept + storedWidth(text[start]) <= kMaximumLength) {
            kept += storedWidth(text[start]);
            ++start;
        }
        if (start < length && text[start].isLowSurrogate()) --start;
    }
    QTextCursor cursor(document());
    cursor.joinPreviousEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    setTextCursor(cursor);
    limiting_ = false;
}

}  // namespace zelvor::widgets
