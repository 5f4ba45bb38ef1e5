#include "print/print_header.h"

namespace zelvor::print {

namespace {

constexpr QLatin1Char kQuote('\'');
constexpr QLatin1Char kZone('t');
const QString kDateTimeGap = QStringLiteral("    ");

// Drops trailing blanks left before a removed zone field.
void trimEnd(QString& text) {
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
}

}  // namespace

QString withoutTimeZone(const QString& timeFormat) {
    QString result;
    bool quoted = false;
    bool droppedZone = false;
    for (const QChar c : timeFormat) {
        if (c == kQuote) quoted = !quoted;
        if (!quoted && c == kZone) {
            trimEnd(result);
            droppedZone = true;
            continue;
        }
        // The blanks around a removed zone field shrink to one between the
        // fields left on either side.
        if (droppedZone && c.isSpace()) continue;
        if (droppedZone && !result.isEmpty()) result += QLatin1Char(' ');
        droppedZone = false;
        result += c;
    }
    trimEnd(result);
    return result;
}

QString printHeaderLine(const QString& prefix, const QDateTime& now, const QLocale& locale) {
    const QString time = locale.toString(now.time(), withoutTimeZone(locale.timeFormat()));
    return prefix + locale.toString(now.date(), QLocale::ShortFormat) + kDateTimeGap + time;
}

}  // namespace zelvor::print
