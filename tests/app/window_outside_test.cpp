// The window and what reaches it from outside: a parameter file named on the
// command line or dropped on the window, the recent files under File, and
// the connection check of the Com menu against the simulated unit.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <string>

#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "app/connection_report.h"
#include "app/settings/image_dump.h"
#include "launcher/sim_process.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

using namespace zelvor;
using model::Field;
using zelvor::testing::WindowUnderTest;

namespace {

const QString kOpenError = QStringLiteral("Open file error!");
const QString kVersionError = QStringLiteral("Unmatched version of *.ign file!");

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A parameter set unlike the start image, told apart by its fan value.
QByteArray parameterFile(int fan) {
    model::ParameterImage image;
    image.set(Field::BIKE_BikeType, 3);
    model::loadDefaultSet(image);
    image.set(Field::FAN_Fan1, static_cast<unsigned>(fan));
    image.set(Field::ADVANCE_Cell, 17, 25);
    model::sanitize(image);
    const std::string text = model::formatParameterFile(image);
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// The messages other than the one of the missing default port (in any
// language: it names the device).
QStringList fileMessages(const QStringList& messages) {
    QStringList kept;
    for (const QString& m : messages) {
        if (!m.contains(QStringLiteral("\n/dev/"))) kept << m;
    }
    return kept;
}

app::StartOptions startWith(const QStringList& arguments) {
    const app::StartOptions options = app::parseStartOptions(arguments);
    if (!options.error.isEmpty()) qWarning("%s", qPrintable(options.error));
    return options;
}

// Opens a menu of the menu bar with a click on its title.
QMenu* openMenu(app::TFormHlav& w, const char* name) {
    auto* menu = w.controls().find<QMenu>(name);
    if (menu == nullptr) return nullptr;
    QMenuBar* bar = w.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    if (!QTest::qWaitForWindowExposed(menu)) return nullptr;
    return menu;
}

// Chooses an item of a menu of the menu bar with two clicks, as a person does.
void chooseItem(app::TFormHlav& w, const char* menuName, const QString& itemName) {
    QMenu* menu = openMenu(w, menuName);
    QVERIFY(menu != nullptr);
    QAction* item = menu->findChild<QAction*>(itemName);
    if (item == nullptr) {
        for (QAction* a : menu->actions()) {
            if (a->objectName() == itemName) item = a;
        }
    }
    QVERIFY2(item != nullptr && item->isVisible(), qPrintable(itemName));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QTRY_VERIFY(!menu->isVisible());
}

// The visible recent-file entries of File, top down, as caption and hint.
QStringList recentEntries(app::TFormHlav& w) {
    QStringList entries;
    for (QAction* a : w.controls().find<QMenu>("MenuFile")->actions()) {
        if (a->objectName().startsWith(QStringLiteral("MenuRecent")) && !a->isSeparator() &&
            a->isVisible()) {
            entries << a->text() + QStringLiteral(" | ") + a->toolTip();
        }
    }
    return entries;
}

QString entry(int place, const QString& path) {
    QString name = QFileInfo(path).fileName();
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2 | %3").arg(place).arg(name, path);
}

void dropUrls(QWidget& target, const QList<QUrl>& urls, bool& accepted,
              const QString& alsoText = {}) {
    QMimeData data;
    data.setUrls(urls);
    if (!alsoText.isEmpty()) data.setText(alsoText);
    const QPoint where = target.rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    accepted = enter.isAccepted() && drop.isAccepted();
}

}  // namespace

class WindowOutsideTest : public QObject {
    Q_OBJECT

  private slots:
    void startOptionsNameOneFileAfterTheLanguage() {
        const app::StartOptions plain = app::parseStartOptions({QStringLiteral("tune.ign")});
        QVERIFY(plain.error.isEmpty());
        QCOMPARE(plain.file, QStringLiteral("tune.ign"));
        QVERIFY(!plain.language.has_value());

        const app::StartOptions both = app::parseStartOptions(
            {QStringLiteral("CESKY"), QStringLiteral("--simulate"), QStringLiteral("a b.ign")});
        QVERIFY(both.error.isEmpty());
        QCOMPARE(both.language, std::optional<std::uint8_t>(3));
        QVERIFY(both.simulate);
        QCOMPARE(both.file, QStringLiteral("a b.ign"));

        // A second file, an unknown option with one dash or two: the usage.
        for (const QStringList& wrong :
             {QStringList{QStringLiteral("a.ign"), QStringLiteral("b.ign")},
              QStringList{QStringLiteral("a.ign"), QStringLiteral("--open")},
              QStringList{QStringLiteral("-x"), QStringLiteral("a.ign")}}) {
            QVERIFY2(!app::parseStartOptions(wrong).error.isEmpty(), qPrintable(wrong.join(' ')));
        }
        QVERIFY(app::startOptionsUsage().contains(QStringLiteral("FILE.ign")));
    }

    void commandLineFileOpensAsOpenWouldAndIsDumpedAtClose() {
        QTemporaryDir files;
        const QString path = files.filePath("dyno.ign");
        QVERIFY(writeFile(path, parameterFile(95)));

        QTemporaryDir byMenuFolder;
        WindowUnderTest byMenu(byMenuFolder.path());
        byMenu.script.openNames = {path};
        byMenu.window.MenuOpenClick();

        QTemporaryDir folder;
        model::ParameterImage opened;
        {
            WindowUnderTest t(folder.path(), startWith({QStringLiteral("DEUTSCH"), path}));
            app::TFormHlav& w = t.window;
            QCOMPARE(fileMessages(t.script.messages), QStringList());
            QCOMPARE(w.language(), 1);
            QVERIFY(w.image().bytes() == byMenu.window.image().bytes());
            QCOMPARE(w.image().get(Field::FAN_Fan1), 95);
            QCOMPARE(w.fileName(), path);
            QCOMPARE(w.controls().find<QLabel>("LabelFile2")->text(), path);
            QCOMPARE(w.pipeline().canUndo(), byMenu.window.pipeline().canUndo());
            QCOMPARE(w.recentFiles().paths(), std::vector<std::string>{path.toStdString()});
            opened = w.image();
            w.close();
        }
        // What the next start finds is the file's parameter set.
        model::ParameterImage dumped;
        app::AllFlags all{};
        app::parseImageDump(readFile(folder.filePath("_Zelvor.ini")).toStdString(), dumped, all);
        QVERIFY(dumped.bytes() == opened.bytes());
    }

    void commandLineFileRelativeToTheWorkingFolder() {
        QTemporaryDir files;
        QVERIFY(writeFile(files.filePath("rel.ign"), parameterFile(93)));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(files.path()));
        QTemporaryDir folder;
        WindowUnderTest t(folder.path(), startWith({QStringLiteral("rel.ign")}));
        QDir::setCurrent(previous);
        QCOMPARE(t.window.image().get(Field::FAN_Fan1), 93);
        // Shown with its folder, as the Open dialog gives it.
        QCOMPARE(t.window.fileName(), QFileInfo(files.filePath("rel.ign")).absoluteFilePath());
    }

    void brokenOrMissingCommandLineFileKeepsTheStartImage() {
        QTemporaryDir files;
        const QString broken = files.filePath("broken.ign");
        QVERIFY(writeFile(broken, "ZARBOLIK_KEY    62 \r\nFAN 1 2\r\n\x01\x02garbage"));
        const QString missing = files.filePath("missing.ign");

        QTemporaryDir plainFolder;
        const model::ParameterImage start = WindowUnderTest(plainFolder.path()).window.image();
        struct Case {
            QString path;
            QString message;
        };
        for (const Case& c : {Case{broken, kVersionError}, Case{missing, kOpenError}}) {
            QTemporaryDir folder;
            WindowUnderTest t(folder.path(), startWith({c.path}));
            const QStringList messages = fileMessages(t.script.messages);
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages.first().startsWith(c.message), qPrintable(messages.first()));
            if (c.message == kOpenError) QVERIFY(messages.first().endsWith(c.path));
            QVERIFY(t.window.image().bytes() == start.bytes());
            QCOMPARE(t.window.fileName(), QString());
            QVERIFY(!t.window.pipeline().canUndo());
            QVERIFY(t.window.recentFiles().paths().empty());
        }
    }

    void droppedParameterFileOpensOtherDropsAreIgnored() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        zelvor::testing::showActive(w);
        t.script.messages.clear();
        const QString first = folder.filePath("first.IGN");
        const QString second = folder.filePath("second.ign");
        const QString text = folder.filePath("notes.txt");
        QVERIFY(writeFile(first, parameterFile(91)));
        QVERIFY(writeFile(second, parameterFile(92)));
        QVERIFY(writeFile(text, parameterFile(94)));
        const model::ParameterImage start = w.image();

        bool accepted = true;
        dropUrls(w, {QUrl::fromLocalFile(text), QUrl(QStringLiteral("https://example.org/x.ign"))},
                 accepted);
        QVERIFY(!accepted);
        QVERIFY(w.image() == start);
        QVERIFY(t.script.messages.isEmpty());

        dropUrls(
            w, {QUrl::fromLocalFile(text), QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)},
            accepted);
        QVERIFY(accepted);
        QVERIFY(t.script.messages.isEmpty());
        QCOMPARE(w.image().get(Field::FAN_Fan1), 91);
        QCOMPARE(w.fileName(), first);
        QVERIFY(w.pipeline().canUndo());
        QCOMPARE(recentEntries(w), QStringList{entry(1, first)});

        // A dropped file that is not one of ours says so and changes nothing.
        const QString bad = folder.filePath("bad.ign");
        QVERIFY(writeFile(bad, "not a parameter file"));
        dropUrls(w, {QUrl::fromLocalFile(bad)}, accepted);
        QCOMPARE(t.script.messages, QStringList{kVersionError});
        QCOMPARE(w.image().get(Field::FAN_Fan1), 91);
        QCOMPARE(w.fileName(), first);

        // Dropped on a text field, as a file manager sends it (the URL and
        // its text), the file opens and the field does not take the path.
        auto* memo = w.controls().find<QPlainTextEdit>("Memo1");
        QVERIFY(memo != nullptr);
        const QString memoBefore = memo->toPlainText();
        dropUrls(*memo->viewport(), {QUrl::fromLocalFile(second)}, accepted, second);
        QVERIFY(accepted);
        QCOMPARE(w.fileName(), second);
        QCOMPARE(w.image().get(Field::FAN_Fan1), 92);
        QCOMPARE(memo->toPlainText(), memoBefore);
    }

    void recentFilesNewestFirstAtMostEightAndKeptOverARestart() {
        QTemporaryDir folder;
        QStringList paths;
        for (int i = 1; i <= 10; ++i) {
            paths << folder.filePath(QStringLiteral("tune & %1.ign").arg(i));
            QVERIFY(writeFile(paths.last(), parameterFile(80 + i)));
        }
        QStringList expected;
        {
            WindowUnderTest t(folder.path());
            app::TFormHlav& w = t.window;
            zelvor::testing::showActive(w);
            QVERIFY(recentEntries(w).isEmpty());
            for (const QString& path : paths) {
                t.script.openNames = {path};
                QTest::keyClick(&w, Qt::Key_F3);
            }
            QCOMPARE(w.fileName(), paths.last());
            for (int i = 0; i < 8; ++i) expected << entry(i + 1, paths[9 - i]);
            QCOMPARE(recentEntries(w), expected);
            // The ampersand of the name shows as it is, the number is the key.
            QVERIFY(recentEntries(w).first().startsWith(QStringLiteral("&1 tune && 10.ign")));

            // Opening an entry moves it first; the others keep their order.
            chooseItem(w, "MenuFile", QStringLiteral("MenuRecent5"));
            QCOMPARE(w.image().get(Field::FAN_Fan1), 86);
            QCOMPARE(w.fileName(), paths[5]);
            expected.clear();
            for (int i : {5, 9, 8, 7, 6, 4, 3, 2}) expected << paths[i];

            // Saving puts the saved file first; the oldest falls off.
            const QString saved = folder.filePath("saved.ign");
            t.script.saveNames = {saved};
            QTest::keyClick(&w, Qt::Key_F2);
            QVERIFY(QFile::exists(saved));
            expected.prepend(saved);
            expected.removeLast();
            QStringList shown;
            for (int i = 0; i < expected.size(); ++i) shown << entry(i + 1, expected[i]);
            QCOMPARE(recentEntries(w), shown);
            expected = shown;
            w.close();
        }
        const QByteArray settings = readFile(folder.filePath("Zelvor.ini"));
        QVERIFY(settings.contains("[RecentFiles]"));
        QVERIFY(settings.contains("File1=" + folder.filePath("saved.ign").toUtf8()));

        WindowUnderTest again(folder.path());
        QCOMPARE(recentEntries(again.window), expected);
    }

    void vanishedRecentFileSaysSoAndLeavesTheList() {
        QTemporaryDir folder;
        const QString kept = folder.filePath("kept.ign");
        const QString gone = folder.filePath("gone.ign");
        QVERIFY(writeFile(kept, parameterFile(81)));
        QVERIFY(writeFile(gone, parameterFile(82)));
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        zelvor::testing::showActive(w);
        t.script.openNames = {gone, kept};
        QTest::keyClick(&w, Qt::Key_F3);
        QTest::keyClick(&w, Qt::Key_F3);
        QCOMPARE(recentEntries(w), (QStringList{entry(1, kept), entry(2, gone)}));
        QVERIFY(QFile::remove(gone));
        t.script.messages.clear();
        const model::ParameterImage before = w.image();

        // Chosen with its number key in the open menu.
        QMenu* file = openMenu(w, "MenuFile");
        QVERIFY(file != nullptr);
        QTest::keyClick(file, Qt::Key_2);
        QTRY_VERIFY(!file->isVisible());
        QCOMPARE(t.script.messages, QStringList{kOpenError + QStringLiteral("\n") + gone});
        QVERIFY(w.image() == before);
        QCOMPARE(w.fileName(), kept);
        QCOMPARE(recentEntries(w), QStringList{entry(1, kept)});
        w.close();
        QVERIFY(!readFile(folder.filePath("Zelvor.ini")).contains(gone.toUtf8()));
    }

    void checkConnectionReportsTheSimulatedUnitAndKeepsTheLink() {
        QTemporaryDir folder;
        app::StartOptions options;
        options.simulate = true;
        WindowUnderTest t(folder.path(), options, false);
        app::TFormHlav& w = t.window;
        zelvor::testing::showActive(w);
        QVERIFY(t.script.messages.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(w.unitLink().monitor().framesDecoded() > 0, 5000);

        chooseItem(w, "MenuCom", QStringLiteral("MenuCheckConnection"));
        auto* report = w.findChild<app::ConnectionReportDialog*>();
        QVERIFY(report != nullptr);
        QTRY_VERIFY(report->isVisible());
        const QString text = report->report();
        QVERIFY2(text.contains(QStringLiteral("The port opens.")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("A unit answers, program version")),
                 qPrintable(text));
        QVERIFY(text.contains(QString::fromStdString(w.simulator()->devicePath())));
        QVERIFY(report->textView()->isReadOnly());
        QVERIFY(report->textView()->font().fixedPitch() ||
                QFontInfo(report->textView()->font()).fixedPitch());
        QVERIFY(t.script.messages.isEmpty());

        QApplication::clipboard()->clear();
        QTest::mouseClick(report->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), text);

        // The window has its port back: the unit's answers go on coming.
        const std::uint32_t seen = w.unitLink().monitor().framesDecoded();
        QTRY_VERIFY_WITH_TIMEOUT(w.unitLink().monitor().framesDecoded() > seen + 2, 5000);
        report->close();
    }

    void checkConnectionOnAMissingDeviceSaysSoWithoutAnotherBox() {
        QTemporaryDir folder;
        app::StartOptions options;
        const QString device = folder.filePath("ttyUSB7");
        options.portDevice = device.toStdString();
        WindowUnderTest t(folder.path(), options);
        app::TFormHlav& w = t.window;
        zelvor::testing::showActive(w);
        QCOMPARE(t.script.messages.size(), 1);  // the port did not open at start
        chooseItem(w, "MenuCom", QStringLiteral("MenuCheckConnection"));
        auto* report = w.findChild<app::ConnectionReportDialog*>();
        QVERIFY(report != nullptr);
        const QString text = report->report();
        QVERIFY2(text.contains(device + QStringLiteral(" does not exist.")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Result: no unit answered.")), qPrintable(text));
        QCOMPARE(t.script.messages.size(), 1);
        QVERIFY(report->windowTitle().endsWith(device));
        // Escape closes it where the focus is, and the main window has the
        // keyboard again.
        QTRY_COMPARE(QApplication::activeWindow(), report);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!report->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), &w);
    }

    void checkConnectionCaptionInEveryLanguage() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        const QStringList captions = {
            QStringLiteral("&Check connection…"), QStringLiteral("&Verbindung prüfen…"),
            QStringLiteral("&Vérifier la connexion…"), QStringLiteral("&Zkontrolovat spojení…")};
        for (std::uint8_t language = 0; language < 4; ++language) {
            t.window.SetLanguage(language);
            QCOMPARE(t.window.controls().find<QAction>("MenuCheckConnection")->text(),
                     captions[language]);
        }
    }
};

QTEST_MAIN(WindowOutsideTest)
#include "window_outside_test.moc"
