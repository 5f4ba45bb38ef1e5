// Where the picture goes on the page, and the header line of a printout.
#include <QtTest>

#include "print/page_layout.h"
#include "print/print_header.h"

using namespace zelvor;

class PrintPageTest : public QObject {
    Q_OBJECT

  private slots:
    void targetKeepsTheAspectAtTheTopLeft_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("printable");
        QTest::addColumn<QRect>("target");
        // A4 portrait at 600 dpi is 4960 x 7016 printer pixels.
        QTest::newRow("window wider than the page fills the width")
            << QSize(1039, 753) << QSize(4760, 6814) << QRect(0, 0, 4760, 3450);
        QTest::newRow("window taller than the page fills the height")
            << QSize(400, 1000) << QSize(4760, 6814) << QRect(0, 0, 2726, 6814);
        QTest::newRow("landscape page, wide window: height first")
            << QSize(1039, 801) << QSize(6814, 4760) << QRect(0, 0, 6174, 4760);
        QTest::newRow("same proportion as the page takes the whole page")
            << QSize(500, 1000) << QSize(600, 1200) << QRect(0, 0, 600, 1200);
        QTest::newRow("rounded to the nearest printer pixel, up")
            << QSize(3, 2) << QSize(100, 100) << QRect(0, 0, 100, 67);
        QTest::newRow("rounded to the nearest printer pixel, down")
            << QSize(2, 3) << QSize(100, 100) << QRect(0, 0, 67, 100);
        QTest::newRow("empty picture draws nothing") << QSize(0, 0) << QSize(100, 100) << QRect();
        QTest::newRow("no printable area draws nothing")
            << QSize(1039, 801) << QSize(0, 0) << QRect();
    }
    void targetKeepsTheAspectAtTheTopLeft() {
        QFETCH(QSize, picture);
        QFETCH(QSize, printable);
        QFETCH(QRect, target);
        const QRect got = print::printTargetRect(picture, printable);
        QCOMPARE(got, target);
        QVERIFY(got.isEmpty() || QRect(QPoint(0, 0), printable).contains(got));
    }

    void headerIsPrefixShortDateFourBlanksAndTime() {
        const QDateTime at(QDate(2008, 3, 5), QTime(14, 2, 7));
        QCOMPARE(print::printHeaderLine(QStringLiteral("Zeitpunkt des Ausdruckes   "), at,
                                        QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("Zeitpunkt des Ausdruckes   05.03.08    14:02:07"));
        QCOMPARE(print::printHeaderLine(QStringLiteral("Date and time of printing:  "), at,
                                        QLocale(QLocale::English, QLocale::UnitedStates)),
                 QStringLiteral("Date and time of printing:  3/5/08    2:02:07 PM"));
    }

    void timeZoneLeavesTheTimeFormat_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zone at the end") << "HH:mm:ss t"
                                         << "HH:mm:ss";
        QTest::newRow("long zone after AM/PM") << "h:mm:ss AP tttt"
                                               << "h:mm:ss AP";
        QTest::newRow("zone between fields") << "h:mm:ss t AP"
                                             << "h:mm:ss AP";
        QTest::newRow("quoted t stays") << "HH 'tt' mm t"
                                        << "HH 'tt' mm";
    }
    void timeZoneLeavesTheTimeFormat() {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(print::withoutTimeZone(format), expected);
    }
};

QTEST_GUILESS_MAIN(PrintPageTest)
#include "print_page_test.moc"
