// The printout of the window: print mode while the picture is taken, the
// window given back exactly afterwards (also when printing fails), the header
// line, and the one-page PDF.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <map>

#include "../support/window_fixture.h"
#include "editing/page_index.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/map_cell_grid.h"
#include "print/print_header.h"
#include "print/print_mode_controls.h"

using namespace zelvor;
using model::Field;
using zelvor::testing::WindowUnderTest;

namespace {

// Every listed control by its registered key ("UpDownCell_Uni[17]").
std::vector<std::pair<QString, print::PrintHide>> listedControls() {
    std::vector<std::pair<QString, print::PrintHide>> keys;
    for (const print::PrintModeControl& entry : print::kPrintModeControls) {
        for (int i = entry.count == 0 ? -1 : 0; i < entry.count; ++i) {
            keys.emplace_back(widgets::ControlRegistry::elementName(entry.name, i), entry.hide);
        }
    }
    return keys;
}

// What print mode touches and must give back, plus the grid cells the view
// rules hide in single-row mode.
struct WindowState {
    std::map<QString, bool> hidden;
    std::map<QString, int> arrows;
    bool cellSpinners = true;  // the map cells draw their own
    bool singleRow = false;
    std::vector<bool> tabs;
    std::vector<editing::Colour> rowLabels;
    QColor background;
    bool ownPalette = false;
    int currentTab = -1;
    bool operator==(const WindowState&) const = default;
};

WindowState capture(app::TFormHlav& w) {
    WindowState s;
    for (const auto& [key, hide] : listedControls()) {
        QObject* object = w.controls().objectByKey(key);
        if (auto* box = qobject_cast<QAbstractSpinBox*>(object))
            s.arrows[key] = box->buttonSymbols();
        if (auto* cells = qobject_cast<widgets::MapCellGrid*>(object)) {
            s.cellSpinners = cells->spinnersShown();
            s.singleRow = cells->singleRow();
        }
        if (auto* widget = qobject_cast<QWidget*>(object)) s.hidden[key] = widget->isHidden();
    }
    for (int i = 0; i < w.pageControl()->count(); ++i) {
        s.tabs.push_back(w.pageControl()->isTabVisible(i));
    }
    for (int r = 0; r < 10; ++r) {
        s.rowLabels.push_back(
            widgets::currentBackground(w.controls().find<QWidget>("LabelTpsRow_Uni", r)));
    }
    s.background = w.palette().color(QPalette::Window);
    s.ownPalette = w.testAttribute(Qt::WA_SetPalette);
    s.currentTab = w.pageControl()->currentIndex();
    return s;
}

// A printer that looks at the window while it prints, then hands the page to
// a PDF file, or fails when it has none.
class RecordingPrinter final : public print::PagePrinter {
  public:
    RecordingPrinter(std::function<void(const QPixmap&)> look, QString pdfPath = {})
        : look_(std::move(look)),
          pdf_(pdfPath.isEmpty() ? nullptr : print::pdfFilePrinter(pdfPath)) {}

    bool printPage(const QPixmap& picture) override {
        look_(picture);
        return pdf_ != nullptr && pdf_->printPage(picture);
    }
    QString destination() const override { return QStringLiteral("Test printer"); }

  private:
    std::function<void(const QPixmap&)> look_;
    std::unique_ptr<print::PagePrinter> pdf_;
};

QWidget* control(app::TFormHlav& w, const char* name, int element = -1) {
    return w.controls().find<QWidget>(name, element);
}

QString statusText(app::TFormHlav& w) {
    return w.controls().find<QLabel>("LabelHlaseni")->text();
}

}  // namespace

class WindowPrintTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void everyListedControlExists() {
        WindowUnderTest t(folder_.path());
        for (const auto& [key, hide] : listedControls()) {
            QObject* object = t.window.controls().objectByKey(key);
            QVERIFY2(qobject_cast<QWidget*>(object) != nullptr, qPrintable(key));
            // Arrows are taken from an edit with its spinner, never the edit
            // itself, or from the map cells, which draw theirs.
            QVERIFY2(hide == print::PrintHide::Control ||
                         qobject_cast<QAbstractSpinBox*>(object) != nullptr ||
                         qobject_cast<widgets::MapCellGrid*>(object) != nullptr,
                     qPrintable(key));
        }
        QVERIFY(t.window.controls().find<QAction>("MenuPrint")->isEnabled());
        QVERIFY(t.window.controls().find<QToolButton>("SpeedButtonPrint")->isEnabled());
    }

    void printModeHoldsOnlyDuringTheGrab() {
        // The advance map in single-row mode with the maps "1 = 2", "No
        // Connection" on show, and one spin box with arrows of its own kind.
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();  // the missing COM1 at start-up
        t.window.show();
        t.window.image().set(Field::ADVANCE_MISC_UseTps, 0);
        t.window.image().set(Field::JET1_MISC_Jet123Mode, 2);
        t.window.runPipeline();
        t.window.pageControl()->setCurrentIndex(editing::kPageAdvance);
        t.ticks(10);
        auto* fan = t.window.controls().find<QAbstractSpinBox>("UpDownFan1");
        fan->setButtonSymbols(QAbstractSpinBox::PlusMinus);
        const WindowState before = capture(t.window);
        QVERIFY(!before.tabs[editing::kPageJet2A] && before.singleRow && before.cellSpinners);
        QVERIFY(!control(t.window, "LabelSpojeni")->isHidden());

        int looks = 0;
        t.window.setPrinterLookup([&] {
            return std::make_unique<RecordingPrinter>(
                [&](const QPixmap& picture) {
                    ++looks;
                    QCOMPARE(picture.size(), t.window.clientArea()->size());
                    for (const auto& [key, hide] : listedControls()) {
                        QObject* object = t.window.controls().objectByKey(key);
                        if (auto* cells = qobject_cast<widgets::MapCellGrid*>(object)) {
                            QVERIFY2(!cells->spinnersShown() && !cells->isHidden(),
                                     qPrintable(key));
                            continue;
                        }
                        QVERIFY2(hide == print::PrintHide::Arrows
                                     ? qobject_cast<QAbstractSpinBox*>(object)->buttonSymbols() ==
                                           QAbstractSpinBox::NoButtons
                                     : qobject_cast<QWidget*>(object)->isHidden(),
                                 qPrintable(key));
                    }
                    QVERIFY(!control(t.window, "EditCell_Uni", 140)->isHidden());
                    for (int i = 0; i < t.window.pageControl()->count(); ++i) {
                        QCOMPARE(t.window.pageControl()->isTabVisible(i),
                                 i == editing::kPageAdvance);
                    }
                    QCOMPARE(widgets::currentBackground(control(t.window, "LabelTpsRow_Uni", 9)),
                             editing::Colour::White);
                    QCOMPARE(t.window.palette().color(QPalette::Window), QColor(Qt::white));
                    QVERIFY(!control(t.window, "LabelHlaseni")->isHidden());
                    QCOMPARE(widgets::currentBackground(control(t.window, "LabelHlaseni")),
                             editing::Colour::White);
                    QVERIFY(control(t.window, "CGaugeProgram")->isHidden());
                    // No tick runs while printing.
                    const int countdown = t.window.unitLink().transfer().hideCountdown();
                    t.ticks(30);
                    QCOMPARE(t.window.unitLink().transfer().hideCountdown(), countdown);
                    QVERIFY(control(t.window, "LabelSpojeni")->isHidden());
                },
                folder_.filePath(QStringLiteral("grab.pdf")));
        });
        t.window.SpeedButtonPrintClick();
        QCOMPARE(looks, 1);
        QVERIFY(t.script.messages.isEmpty());
        QVERIFY(!t.window.printing());
        QCOMPARE(capture(t.window), before);
        QVERIFY(!control(t.window, "LabelSpojeni")->isHidden());
        const int countdown = t.window.unitLink().transfer().hideCountdown();
        t.ticks(1);
        QCOMPARE(t.window.unitLink().transfer().hideCountdown(), countdown - 1);
    }

    void failedPrintGivesTheWindowBackAndSaysSo() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();
        t.window.pageControl()->setCurrentIndex(editing::kPageCidla);
        const WindowState before = capture(t.window);
        t.window.setPrinterLookup(
            [] { return std::make_unique<RecordingPrinter>([](const QPixmap&) {}); });
        t.window.SpeedButtonPrintClick();
        QCOMPARE(capture(t.window), before);
        QVERIFY(!t.window.printing());
        QCOMPARE(t.script.messages, QStringList{QStringLiteral("Printing failed!\nTest printer")});

        // A PDF file that cannot be written fails the same way.
        t.window.setPrinterLookup([] { return nullptr; });
        const QString path = folder_.filePath(QStringLiteral("missing/printout.pdf"));
        t.script.printNames.push_back(path);
        t.window.SpeedButtonPrintClick();
        QCOMPARE(t.script.messages.last(), QStringLiteral("Printing failed!\n") + path);
        QCOMPARE(capture(t.window), before);
    }

    void headerLineStaysForTheUsualTwoHundredTicks() {
        WindowUnderTest t(folder_.path());
        t.window.SetLanguage(1);
        t.window.setPrinterLookup([&] {
            return std::make_unique<RecordingPrinter>([](const QPixmap&) {},
                                                      folder_.filePath(QStringLiteral("h.pdf")));
        });
        const QDateTime before = QDateTime::currentDateTime();
        t.window.SpeedButtonPrintClick();
        const QDateTime after = QDateTime::currentDateTime();
        const QString prefix = QStringLiteral("Zeitpunkt des Ausdruckes   ");
        const QString text = statusText(t.window);
        QVERIFY2(text == print::printHeaderLine(prefix, before, QLocale::system()) ||
                     text == print::printHeaderLine(prefix, after, QLocale::system()),
                 qPrintable(text));
        t.ticks(199);
        QCOMPARE(statusText(t.window), text);
        QVERIFY(!control(t.window, "LabelHlaseni")->isHidden());
        t.ticks(1);
        QVERIFY(control(t.window, "LabelHlaseni")->isHidden());
    }

    void msValuesArePrintedWithoutABoxBehindThem() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();
        app::TFormHlav& w = t.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTabBar* tabs = w.pageControl()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(editing::kPageJet1A).center());
        QCOMPARE(w.currentPage(), editing::kPageJet1A);
        auto* ms = w.controls().find<QAbstractButton>("CheckBoxZobrMs_Uni");
        QTest::mouseClick(ms, Qt::LeftButton, {}, QPoint(6, ms->height() / 2));
        QVERIFY(ms->isChecked());
        QImage printed;
        w.setPrinterLookup([&] {
            return std::make_unique<RecordingPrinter>(
                [&](const QPixmap& picture) { printed = picture.toImage(); });
        });
        w.SpeedButtonPrintClick();
        QVERIFY(!printed.isNull());
        // Beside each time, where the arrows are on screen, the printout is
        // plain page: no frame of a field left behind.
        auto* cells = w.controls().find<widgets::MapCellGrid>("MapCells_Uni");
        for (int k : {0, 16, 74, 149}) {
            const QRect arrows = cells->spinnerRect({k / 15, k % 15});
            const QPoint corner = cells->mapTo(w.clientArea(), arrows.topLeft());
            for (int y = 0; y < arrows.height(); ++y) {
                for (int x = 0; x < arrows.width(); ++x) {
                    const QRgb pixel = printed.pixel(corner + QPoint(x, y));
                    QVERIFY2(qGray(pixel) > 200, qPrintable(QStringLiteral("cell %1 at %2,%3: %4")
                                                                .arg(k)
                                                                .arg(x)
                                                                .arg(y)
                                                                .arg(qGray(pixel))));
                }
            }
        }
    }

    void withoutAPrinterTheOnePagePdfGoesWhereTheUserSays() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();
        t.window.show();
        t.window.setPrinterLookup([] { return nullptr; });
        t.window.SpeedButtonPrintClick();  // the save dialog is cancelled: nothing happens
        QVERIFY(control(t.window, "LabelHlaseni")->isHidden());
        QCOMPARE(t.script.proposedPrintNames, QStringList{QStringLiteral("Zelvor.pdf")});

        const QString path = folder_.filePath(QStringLiteral("printout.pdf"));
        t.script.printNames.push_back(path);
        t.window.SpeedButtonPrintClick();
        QVERIFY(t.script.messages.isEmpty());
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QString bytes = QString::fromLatin1(pdf.readAll());
        QVERIFY(bytes.startsWith(QStringLiteral("%PDF")));
        QVERIFY2(bytes.size() > 10'000 && bytes.size() < 1'000'000,
                 qPrintable(QString::number(bytes.size())));
        QCOMPARE(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);
        // The picture goes in at the window's own size, not blown up to printer pixels.
        const auto size =
            QRegularExpression(QStringLiteral("/Width (\\d+)\\s*/Height (\\d+)")).match(bytes);
        QVERIFY(size.hasMatch());
        QCOMPARE(QSize(size.captured(1).toInt(), size.captured(2).toInt()),
                 t.window.clientArea()->size());
        QCOMPARE(QDir(folder_.path()).entryList({QStringLiteral("*.part")}, QDir::Files),
                 QStringList());
    }
};

QTEST_MAIN(WindowPrintTest)
#include "window_print_test.moc"
