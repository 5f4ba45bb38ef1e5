#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace zelvor::print {

// The header line of a printout: prefix (the print-date message of the
// current language), the date in the locale's short date format, four
// blanks, and the time in the locale's long time format without the name of
// the time zone ("Date and time of printing:  05.03.08    14:02:07").
QString printHeaderLine(const QString& prefix, const QDateTime& now, const QLocale& locale);

// A time format with its time-zone fields (t ... tttt) and the blanks before
// them taken out; quoted text stays as it is.
QString withoutTimeZone(const QString& timeFormat);

}  // namespace zelvor::print
