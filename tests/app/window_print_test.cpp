// The printout of the window: print mode while the picture is taken, the
// window given back exactly afterwards, the header line, the PDF page, and
// failures of the printer.
#include <QAbstractSpinBox>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <map>

#include "../support/window_fixture.h"
#include "editing/page_index.h"
#include "editing/widgets/colours.h"
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
        if (entry.count == 0)
            keys.emplace_back(widgets::ControlRegistry::elementName(entry.name, -1), entry.hide);
        for (int i = 0; i < entry.count; ++i) {
            keys.emplace_back(widgets::ControlRegistry::elementName(entry.name, i), entry.hide);
        }
    }
    return keys;
}

// What print mode touches and what it must give back.
struct WindowState {
    std::map<QString, bool> hidden;
    std::map<QString, int> arrows;
    std::vector<bool> tabs;
    std::vector<link::Colour> rowLabels;
    QColor background;
    bool ownPalette = false;
    bool gaugeHidden = false;
    int currentTab = -1;

    bool operator==(const WindowState&) const = default;
};

WindowState capture(app::TFormHlav& w) {
    WindowState s;
    for (const auto& [key, hide] : listedControls()) {
        QObject* object = w.controls().objectByKey(key);
        if (auto* box = qobject_cast<QAbstractSpinBox*>(object)) {
            s.arrows[key] = box->buttonSymbols();
        } else if (auto* widget = qobject_cast<QWidget*>(object)) {
            s.hidden[key] = widget->isHidden();
        }
    }
    // The cells of the grid that the view rules hide (single-row mode) too.
    for (int k = 0; k < 150; ++k) {
        s.hidden["EditCell_Uni[" + QString::number(k) + "]"] =
            w.controls().find<QWidget>("EditCell_Uni", k)->isHidden();
    }
    for (int i = 0; i < w.pageControl()->count(); ++i)
        s.tabs.push_back(w.pageControl()->isTabVisible(i));
    for (int r = 0; r < 10; ++r) {
        s.rowLabels.push_back(
            widgets::currentBackground(w.controls().find<QWidget>("LabelTpsRow_Uni", r)));
    }
    s.background = w.palette().color(QPalette::Window);
    s.ownPalette = w.testAttribute(Qt::WA_SetPalette);
    s.gaugeHidden = w.controls().find<QWidget>("CGaugeProgram")->isHidden();
    s.currentTab = w.pageControl()->currentIndex();
    return s;
}

// A printer that looks at the window while it prints, then hands the page to
// a PDF file (or fails when it has none).
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

QLabel* statusLabel(app::TFormHlav& w) {
    return w.controls().find<QLabel>("LabelHlaseni");
}

// The window on the advance map in single-row mode with the maps "1 = 2",
// after enough ticks without a unit to show "No Connection".
void prepareAdvancePage(WindowUnderTest& t) {
    t.window.show();
    t.window.image().set(Field::ADVANCE_MISC_UseTps, 0);
    t.window.image().set(Field::JET1_MISC_Jet123Mode, 2);
    t.window.pipeline().run();
    t.window.pageControl()->setCurrentIndex(editing::kPageAdvance);
    t.ticks(10);
}

}  // namespace

class WindowPrintTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void everyListedControlExists() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();  // the missing COM1 at start-up
        for (const auto& [key, hide] : listedControls()) {
            QObject* object = t.window.controls().objectByKey(key);
            QVERIFY2(qobject_cast<QWidget*>(object) != nullptr, qPrintable(key));
            // Arrows are taken from an edit with its spinner, never the edit itself.
            if (hide == print::PrintHide::Arrows) {
                QVERIFY2(qobject_cast<QAbstractSpinBox*>(object) != nullptr, qPrintable(key));
            }
        }
        QVERIFY(t.window.controls().find<QAction>("MenuPrint")->isEnabled());
        QCOMPARE(t.window.controls().find<QAction>("MenuPrint")->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_P));
        QVERIFY(t.window.controls().find<QToolButton>("SpeedButtonPrint")->isEnabled());
    }

    void whileTheGrabRunsOnlyThePrintableIsShown() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();  // the missing COM1 at start-up
        prepareAdvancePage(t);
        QVERIFY(!t.window.controls().find<QWidget>("LabelSpojeni")->isHidden());
        const QSize clientSize = t.window.centralWidget()->size();
        int looks = 0;
        t.window.setPrinterLookup([&] {
            return std::make_unique<RecordingPrinter>(
                [&](const QPixmap& picture) {
                    ++looks;
                    QCOMPARE(picture.size(), clientSize);
                    QVERIFY(t.window.printing());
                    for (const auto& [key, hide] : listedControls()) {
                        QObject* object = t.window.controls().objectByKey(key);
                        if (hide == print::PrintHide::Arrows) {
                            QCOMPARE(qobject_cast<QAbstractSpinBox*>(object)->buttonSymbols(),
                                     QAbstractSpinBox::NoButtons);
                        } else {
                            QVERIFY2(qobject_cast<QWidget*>(object)->isHidden(), qPrintable(key));
                        }
                    }
                    // The cell edits themselves stay: only their arrows go.
                    QVERIFY(!t.window.controls().find<QWidget>("EditCell_Uni", 140)->isHidden());
                    for (int i = 0; i < t.window.pageControl()->count(); ++i) {
                        QCOMPARE(t.window.pageControl()->isTabVisible(i),
                                 i == editing::kPageAdvance);
                    }
                    for (int r = 0; r < 10; ++r) {
                        QCOMPARE(widgets::currentBackground(
                                     t.window.controls().find<QWidget>("LabelTpsRow_Uni", r)),
                                 link::Colour::White);
                    }
                    QCOMPARE(t.window.palette().color(QPalette::Window), QColor(Qt::white));
                    QVERIFY(!statusLabel(t.window)->isHidden());
                    QCOMPARE(widgets::currentBackground(statusLabel(t.window)),
                             link::Colour::White);
                    QVERIFY(t.window.controls().find<QWidget>("CGaugeProgram")->isHidden());
                    // No tick while printing: the countdown and the labels stay.
                    const int countdown = t.window.unitLink().transfer().hideCountdown();
                    t.ticks(30);
                    QCOMPARE(t.window.unitLink().transfer().hideCountdown(), countdown);
                    QVERIFY(t.window.controls().find<QWidget>("LabelSpojeni")->isHidden());
                },
                folder_.filePath(QStringLiteral("grab.pdf")));
        });
        t.window.SpeedButtonPrintClick();
        QCOMPARE(looks, 1);
        QVERIFY(t.script.messages.isEmpty());
    }

    void afterwardsTheWindowIsExactlyAsBefore() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();  // the missing COM1 at start-up
        prepareAdvancePage(t);
        t.window.controls()
            .find<QAbstractSpinBox>("UpDownFan1")
            ->setButtonSymbols(QAbstractSpinBox::PlusMinus);
        const WindowState before = capture(t.window);
        QVERIFY(!before.tabs[editing::kPageJet2A]);
        QVERIFY(before.hidden.at("EditCell_Uni[0]"));  // single-row mode
        bool printed = false;
        t.window.setPrinterLookup([&] {
            return std::make_unique<RecordingPrinter>([&](const QPixmap&) { printed = true; },
                                                      folder_.filePath(QStringLiteral("a.pdf")));
        });
        t.window.SpeedButtonPrintClick();
        QVERIFY(printed);
        QVERIFY(!t.window.printing());
        QCOMPARE(capture(t.window), before);
        QVERIFY(!t.window.controls().find<QWidget>("LabelSpojeni")->isHidden());

        // A failing printer gives the window back too, and says so.
        t.window.pageControl()->setCurrentIndex(editing::kPageCidla);
        const WindowState sensors = capture(t.window);
        t.window.setPrinterLookup(
            [&] { return std::make_unique<RecordingPrinter>([](const QPixmap&) {}); });
        t.window.SpeedButtonPrintClick();
        QCOMPARE(capture(t.window), sensors);
        QVERIFY(!t.window.printing());
        QCOMPARE(t.script.messages, QStringList{QStringLiteral("Printing failed!\nTest printer")});
        // The tick runs again afterwards.
        const int countdown = t.window.unitLink().transfer().hideCountdown();
        t.ticks(1);
        QCOMPARE(t.window.unitLink().transfer().hideCountdown(), countdown - 1);
    }

    void headerLineStaysForTheUsualTwoHundredTicks() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();  // the missing COM1 at start-up
        t.window.SetLanguage(1);
        t.window.setPrinterLookup([&] {
            return std::make_unique<RecordingPrinter>([](const QPixmap&) {},
                                                      folder_.filePath(QStringLiteral("h.pdf")));
        });
        const QDateTime before = QDateTime::currentDateTime();
        t.window.SpeedButtonPrintClick();
        const QDateTime after = QDateTime::currentDateTime();
        const QString prefix = QStringLiteral("Zeitpunkt des Ausdruckes   ");
        const QString text = statusLabel(t.window)->text();
        QVERIFY2(text == print::printHeaderLine(prefix, before, QLocale::system()) ||
                     text == print::printHeaderLine(prefix, after, QLocale::system()),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("    ")));
        QVERIFY(!statusLabel(t.window)->isHidden());
        t.ticks(199);
        QCOMPARE(statusLabel(t.window)->text(), text);
        QVERIFY(!statusLabel(t.window)->isHidden());
        t.ticks(1);
        QVERIFY(statusLabel(t.window)->isHidden());
    }

    void withoutAPrinterTheOnePagePdfIsWrittenWhereTheUserSays() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();  // the missing COM1 at start-up
        t.window.show();
        t.window.setPrinterLookup([] { return nullptr; });
        const QString path = folder_.filePath(QStringLiteral("printout.pdf"));
        t.script.printNames.push_back(path);
        t.window.SpeedButtonPrintClick();
        QCOMPARE(t.script.proposedPrintNames, QStringList{QStringLiteral("Zelvor.pdf")});
        QVERIFY(t.script.messages.isEmpty());
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY2(bytes.size() > 10'000 && bytes.size() < 1'000'000,
                 qPrintable(QString::number(bytes.size())));
        const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
        QCOMPARE(QString::fromLatin1(bytes).count(page), 1);
        // The picture goes in at the window's own size, not blown up to printer pixels.
        const QString text = QString::fromLatin1(bytes);
        const auto width = QRegularExpression(QStringLiteral("/Width (\\d+)")).match(text);
        const auto height = QRegularExpression(QStringLiteral("/Height (\\d+)")).match(text);
        QVERIFY(width.hasMatch() && height.hasMatch());
        QCOMPARE(width.captured(1).toInt(), t.window.centralWidget()->width());
        QCOMPARE(height.captured(1).toInt(), t.window.centralWidget()->height());
        // Only the finished file is left.
        QCOMPARE(QDir(folder_.path()).entryList({QStringLiteral("*.part")}, QDir::Files),
                 QStringList());
    }

    void cancelledOrUnwritablePdfLeavesTheWindowAlone() {
        WindowUnderTest t(folder_.path());
        t.script.messages.clear();  // the missing COM1 at start-up
        t.window.setPrinterLookup([] { return nullptr; });
        t.window.SpeedButtonPrintClick();  // the save dialog is cancelled
        QVERIFY(statusLabel(t.window)->isHidden());
        QVERIFY(t.script.messages.isEmpty());

        const WindowState before = capture(t.window);
        const QString path = folder_.filePath(QStringLiteral("missing/printout.pdf"));
        t.script.printNames.push_back(path);
        t.window.SpeedButtonPrintClick();
        QCOMPARE(t.script.messages, QStringList{QStringLiteral("Printing failed!\n") + path});
        QCOMPARE(capture(t.window), before);
    }
};

QTEST_MAIN(WindowPrintTest)
#include "window_print_test.moc"
