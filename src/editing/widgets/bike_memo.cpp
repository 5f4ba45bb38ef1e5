#include "editing/widgets/bike_memo.h"

#include <QKeyEvent>
#include <QMimeData>
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

QString MemoEdit::keepRepresentable(const QString& text, editing::CodePage page, QString& refused) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView one(text.constData() + i, pair ? 2 : 1);
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        if (editing::representable(c, page)) {
            kept += one;
        } else if (!refused.contains(one)) {
            refused += one;
        }
        if (pair) ++i;
    }
    return kept;
}

void MemoEdit::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty()) emit keyPressed();
    QString refused;
    const QString kept = keepRepresentable(event->text(), codePage_, refused);
    if (refused.isEmpty()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    emit charactersRefused(refused);
    event->accept();
    if (kept.isEmpty()) return;
    QKeyEvent filtered(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                       static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&filtered);
}

void MemoEdit::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString refused;
    const QString kept = keepRepresentable(source->text(), codePage_, refused);
    if (refused.isEmpty()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    emit charactersRefused(refused);
    QMimeData filtered;
    filtered.setText(kept);
    QPlainTextEdit::insertFromMimeData(&filtered);
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

void MemoEdit::dropUnrepresentable() {
    const QString text = toPlainText();
    const int length = static_cast<int>(text.size());
    const int start = std::clamp(changeStart_, 0, length);
    const int end = std::clamp(changeEnd_, start, length);
    QString refused;
    const QString changed = text.mid(start, end - start);
    const QString kept = keepRepresentable(changed, codePage_, refused);
    if (refused.isEmpty()) return;

    limiting_ = true;
    QTextCursor cursor(document());
    cursor.joinPreviousEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(kept);
    cursor.endEditBlock();
    setTextCursor(cursor);
    changeEnd_ = start + static_cast<int>(kept.size());
    limiting_ = false;
    emit charactersRefused(refused);
}

void MemoEdit::limitLength() {
    if (limiting_) return;
    dropUnrepresentable();
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
