// The window's texts: the memo's code page, the unit's identification, the
// texts this program adds and Qt's own texts in the window language, window
// titles, the open dialog's filter and the port message.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "../support/window_fixture.h"
#include "app/system_texts.h"
#include "editing/memo_text.h"
#include "editing/page_index.h"
#include "link/link_frame.h"
#include "link/unit_identification.h"
#include "model/field_table.h"

using namespace zelvor;
using zelvor::testing::WindowUnderTest;

namespace {

const QString kRefusal = QStringLiteral(
    "This character cannot be kept in the memo with its code page (see the "
    "Language menu): ");

// A settings folder whose file names the memo's code page, so that the
// test does not depend on the locale of the machine it runs on.
void writeSettings(const QString& folder, const QString& lines) {
    QFile file(folder + QStringLiteral("/Zelvor.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral("[BASIC]\n%1").arg(lines).toUtf8());
}

void showWindow(app::TFormHlav& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Opens a menu of the menu bar and clicks one of its items, with the mouse.
void chooseMenuItem(app::TFormHlav& w, const char* menuName, const char* itemName) {
    auto* menu = w.controls().find<QMenu>(menuName);
    auto* item = w.controls().find<QAction>(itemName);
    QVERIFY(menu != nullptr && item != nullptr);
    QMenuBar* bar = w.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QTRY_VERIFY(!menu->isVisible());
}

void clickTab(app::TFormHlav& w, int page) {
    QTabBar* tabs = w.pageControl()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    QCOMPARE(w.pageControl()->currentIndex(), page);
}

QPlainTextEdit* memo(app::TFormHlav& w) {
    return w.controls().find<QPlainTextEdit>("Memo1");
}

// Puts the cursor at the end of the memo with a click, as a person would.
void clickIntoMemo(app::TFormHlav& w) {
    QPlainTextEdit* m = memo(w);
    QTest::mouseClick(m->viewport(), Qt::LeftButton, {},
                      QPoint(m->viewport()->width() - 4, m->viewport()->height() - 4));
    QTRY_COMPARE(QApplication::focusWidget(), m);
}

// The key a keyboard layout with the letter sends: its text and, as key
// code, the upper-case letter.
void typeLetter(QChar letter) {
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                        static_cast<Qt::Key>(letter.toUpper().unicode()), QString(letter),
                        Qt::NoModifier);
}

std::vector<std::uint8_t> memoBytes(app::TFormHlav& w) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < editing::kMemoLength; ++i) {
        const auto b = static_cast<std::uint8_t>(w.image().get(model::Field::MEMO_Text, i));
        if (b == 0) break;
        bytes.push_back(b);
    }
    return bytes;
}

// Hands the window the answer to the information-block request of a Read.
void answerInformationBlock(app::TFormHlav& w, const char* text) {
    std::array<std::uint8_t, 150> data{};
    data[0] = 'Z';
    data[1] = 'T';
    data[2] = 'U';
    data[link::info_block::kVersion] = link::kProgramVersion;
    for (std::size_t i = 0; text[i] != '\0' && i < link::info_block::kTextLength; ++i) {
        data[link::info_block::kText + i] = static_cast<std::uint8_t>(text[i]);
    }
    const auto frame = link::LinkFrame::make(0x40 | link::LinkFrame::kAnswerBit, data);
    w.unitLink().transfer().handleAnswer(frame.bytes());
}

// Answers the next message box or file dialog once it is up.
template <typename Dialog>
void whenShown(std::function<void(Dialog*)> answer) {
    QTimer::singleShot(0, [answer] {
        Dialog* dialog = nullptr;
        QTRY_VERIFY((dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) != nullptr);
        answer(dialog);
    });
}

}  // namespace

class WindowTextsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void init() {
        QFile::remove(folder_.filePath(QStringLiteral("Zelvor.ini")));
        QFile::remove(folder_.filePath(QStringLiteral("_Zelvor.ini")));
    }

    // With the Western code page a Czech letter is refused with a message and
    // never stored as '?'; with the Central European one it is kept, and the
    // same bytes read as the other code page has them after a switch.
    void memoRefusesWhatItsCodePageCannotHold() {
        writeSettings(folder_.path(), QStringLiteral("MemoCodePage=1252\n"));
        {
            WindowUnderTest t(folder_.path());
            app::TFormHlav& w = t.window;
            showWindow(w);
            // Whatever the start said (no port here) is not what this test looks at.
            t.script.messages.clear();
            QVERIFY(w.controls().find<QAction>("MenuMemo1252")->isChecked());
            QVERIFY(!w.controls().find<QAction>("MenuMemo1250")->isChecked());
            clickTab(w, editing::kPageBike);
            clickIntoMemo(w);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ab"));
            typeLetter(QChar(0x0159));  // ř
            QCOMPARE(memo(w)->toPlainText(), QStringLiteral("ab"));
            QTRY_COMPARE(t.script.messages.size(), 1);
            QCOMPARE(t.script.messages.last(), kRefusal + QChar(0x0159));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // leave: commit
            QCOMPARE(memoBytes(w), (std::vector<std::uint8_t>{'a', 'b'}));

            chooseMenuItem(w, "MenuLanguage", "MenuMemo1250");
            QCOMPARE(w.memoCodePage(), editing::CodePage::Windows1250);
            QVERIFY(w.controls().find<QAction>("MenuMemo1250")->isChecked());
            QVERIFY(!w.controls().find<QAction>("MenuMemo1252")->isChecked());
            clickIntoMemo(w);
            typeLetter(QChar(0x0159));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(memoBytes(w), (std::vector<std::uint8_t>{'a', 'b', 0xF8}));
            QCOMPARE(t.script.messages.size(), 1);

            // Pasted text keeps what the code page holds.
            QApplication::clipboard()->setText(QStringLiteral(" žluť ñ→"));
            clickIntoMemo(w);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(memo(w)->toPlainText(), QStringLiteral("abř žluť "));
            QTRY_COMPARE(t.script.messages.size(), 2);
            QCOMPARE(t.script.messages.last(), kRefusal + QStringLiteral("ñ→"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const std::vector<std::uint8_t> stored = memoBytes(w);
            QCOMPARE(stored.size(), std::size_t{9});
            QCOMPARE(stored[4], std::uint8_t{0x9E});  // ž in Windows-1250

            // The bytes stay; the memo shows them as Windows-1252 reads them.
            chooseMenuItem(w, "MenuLanguage", "MenuMemo1252");
            QCOMPARE(memoBytes(w), stored);
            QCOMPARE(memo(w)->toPlainText(),
                     QStringLiteral("abø žlu") + QChar(0x9D) + QLatin1Char(' '));
            w.close();
        }
        QFile file(folder_.filePath(QStringLiteral("Zelvor.ini")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("MemoCodePage=1252"));
    }

    // A test that ends early destroys the window with the cursor still in
    // the memo; the memo's focus leaving then must not reach the window.
    void windowGoesWithTheCursorInTheMemo() {
        auto t = std::make_unique<WindowUnderTest>(folder_.path());
        showWindow(t->window);
        clickTab(t->window, editing::kPageBike);
        clickIntoMemo(t->window);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        t.reset();
    }

    // The code page is a setting of its own: the window language leaves it,
    // and it comes back at the next start.
    void codePageIsKeptApartFromTheLanguage() {
        writeSettings(folder_.path(), QStringLiteral("Language=0\nMemoCodePage=1250\n"));
        {
            WindowUnderTest t(folder_.path());
            app::TFormHlav& w = t.window;
            showWindow(w);
            QCOMPARE(w.memoCodePage(), editing::CodePage::Windows1250);
            chooseMenuItem(w, "MenuLanguage", "MenuGerman");
            QCOMPARE(w.language(), std::uint8_t{1});
            QCOMPARE(w.memoCodePage(), editing::CodePage::Windows1250);
            chooseMenuItem(w, "MenuLanguage", "MenuCzech");
            chooseMenuItem(w, "MenuLanguage", "MenuMemo1252");
            chooseMenuItem(w, "MenuLanguage", "MenuEnglish");
            QCOMPARE(w.memoCodePage(), editing::CodePage::Windows1252);
            w.close();
        }
        WindowUnderTest again(folder_.path());
        QCOMPARE(again.window.memoCodePage(), editing::CodePage::Windows1252);
    }

    // The identification text is read in the memo's code page, not cut to
    // ASCII.
    void identificationShowsItsLettersInTheMemoCodePage() {
        writeSettings(folder_.path(), QStringLiteral("MemoCodePage=1252\n"));
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showWindow(w);
        clickTab(w, editing::kPageIdle);
        QTest::keyClick(&w, Qt::Key_F7);  // Read
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Read);
        answerInformationBlock(w, "Z\xE9lvor \xF8");
        clickTab(w, editing::kPageBike);
        auto* label = w.controls().find<QLabel>("LabelVerze1");
        QCOMPARE(label->text(), QStringLiteral("Zélvor ø"));
        chooseMenuItem(w, "MenuLanguage", "MenuMemo1250");
        QCOMPARE(label->text(), QStringLiteral("Zélvor ř"));
    }

    // "Engine", "Sensors", "Ignition unit" and "Outputs" follow the language.
    void addedHeadingsFollowTheLanguage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showWindow(w);
        const auto texts = [&] {
            return QStringList{w.controls().find<QLabel>("Label1")->text(),
                               w.controls().find<QLabel>("Label2")->text(),
                               w.controls().find<QLabel>("Label3")->text(),
                               w.controls().find<QGroupBox>("GroupBoxMonOutput")->title()};
        };
        QCOMPARE(texts(), (QStringList{"Engine", "Sensors", "Ignition unit", "Outputs"}));
        chooseMenuItem(w, "MenuLanguage", "MenuGerman");
        QCOMPARE(texts(), (QStringList{"Motor", "Sensoren", "Zündbox", "Ausgänge"}));
        chooseMenuItem(w, "MenuLanguage", "MenuFrench");
        QCOMPARE(texts(), (QStringList{"Moteur", "Capteurs", "Boîtier d'allumage", "Sorties"}));
        chooseMenuItem(w, "MenuLanguage", "MenuCzech");
        QCOMPARE(texts(), (QStringList{"Motor", "Čidla", "Zapalování", "Výstupy"}));
        chooseMenuItem(w, "MenuLanguage", "MenuEnglish");
        QCOMPARE(texts().first(), QStringLiteral("Engine"));
    }

    // The menus added beside the original ones (Log, Compare with) follow
    // the language as well.
    void addedMenusFollowTheLanguage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showWindow(w);
        const auto menuTexts = [&] {
            QStringList texts;
            for (const char* name : {"MenuLog", "MenuCompare"}) {
                QMenu* menu = w.controls().find<QMenu>(name);
                texts << menu->title();
                for (QAction* item : menu->actions()) {
                    if (!item->isSeparator()) texts << item->text();
                }
            }
            return texts;
        };
        const QStringList english = menuTexts();
        QCOMPARE(english.first(), QStringLiteral("Lo&g"));
        chooseMenuItem(w, "MenuLanguage", "MenuCzech");
        const QStringList czech = menuTexts();
        QCOMPARE(czech.size(), english.size());
        for (qsizetype i = 0; i < czech.size(); ++i) {
            QVERIFY2(czech[i] != english[i], qPrintable(english[i]));
        }
        QCOMPARE(czech.first(), QStringLiteral("Záz&nam"));
        chooseMenuItem(w, "MenuLanguage", "MenuEnglish");
        QCOMPARE(menuTexts(), english);
    }

    // Qt's standard buttons follow the window language; English has no
    // catalogue of its own.
    void standardButtonsFollowTheLanguage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showWindow(w);
        app::QtDialogs dialogs(&w);
        const auto buttonTexts = [&] {
            QStringList texts;
            whenShown<QMessageBox>([&texts](QMessageBox* box) {
                for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
                    texts << box->button(button)->text();
                }
                QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
            });
            if (dialogs.askYesNoCancel(QStringLiteral("?")) != app::Dialogs::Answer::Cancel) {
                texts << QStringLiteral("(not cancelled)");
            }
            return texts;
        };
        QCOMPARE(buttonTexts(), (QStringList{"&Yes", "&No", "Cancel"}));
        chooseMenuItem(w, "MenuLanguage", "MenuGerman");
        QCOMPARE(buttonTexts(), (QStringList{"&Ja", "&Nein", "Abbrechen"}));
        chooseMenuItem(w, "MenuLanguage", "MenuCzech");
        QCOMPARE(buttonTexts(), (QStringList{"&Ano", "&Ne", "Zrušit"}));
        chooseMenuItem(w, "MenuLanguage", "MenuFrench");
        QCOMPARE(buttonTexts().last(), QStringLiteral("Annuler"));
        chooseMenuItem(w, "MenuLanguage", "MenuEnglish");
        QCOMPARE(buttonTexts(), (QStringList{"&Yes", "&No", "Cancel"}));
    }

    // The open dialog speaks the window language, and "All Files" lists a
    // file whose name has no dot.
    void openDialogListsFilesWithoutADot() {
        QTemporaryDir tunes;
        for (const char* name : {"race.ign", "tune-without-dot"}) {
            QFile file(tunes.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showWindow(w);
        chooseMenuItem(w, "MenuLanguage", "MenuGerman");
        app::QtDialogs dialogs(&w);
        QStringList listed;
        QString cancelText;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            QVERIFY(types != nullptr && view != nullptr);
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Down);  // the next filter: all files
            QVERIFY(types->currentText().startsWith(QStringLiteral("All Files")));
            const auto names = [view] {
                QStringList found;
                const QModelIndex root = view->rootIndex();
                for (int row = 0; row < view->model()->rowCount(root); ++row) {
                    found << view->model()->index(row, 0, root).data().toString();
                }
                return found;
            };
            QTRY_VERIFY(names().contains(QStringLiteral("race.ign")));
            listed = names();
            for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
                if (b->text() == QStringLiteral("Abbrechen")) cancelText = b->text();
            }
            dialog->reject();
        });
        QVERIFY(dialogs.openParameterFile(tunes.path(), {}).isEmpty());
        QVERIFY2(listed.contains(QStringLiteral("tune-without-dot")), qPrintable(listed.join(',')));
        QCOMPARE(cancelText, QStringLiteral("Abbrechen"));
    }

    // Window titles are the program's own texts: a display name set on the
    // application is what the platform appends to every title (" — Zelvor
    // Tuner"), so there is none; message boxes carry the program's name.
    void titlesGetNothingAppended() {
        app::setUpApplication();
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Zelvor Tuner"));
        {
            WindowUnderTest t(folder_.path());
            app::QtDialogs dialogs(&t.window);
            QString title;
            whenShown<QMessageBox>([&title](QMessageBox* box) {
                title = box->windowTitle();
                QTest::keyClick(box, Qt::Key_Escape);
            });
            dialogs.message(QStringLiteral("?"));
            QCOMPARE(title, QStringLiteral("Zelvor Tuner"));
        }
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
        QCoreApplication::setApplicationName(QStringLiteral("Zelvor Tuner"));
    }

    // The message names the device once, then the system's reason.
    void portMessageNamesTheDeviceOnce() {
        app::StartOptions options;
        const QString device = QStringLiteral("/dev/zelvor-no-such-port");
        options.portDevice = device.toStdString();
        WindowUnderTest t(folder_.path(), options);
        QCOMPARE(t.script.messages.size(), 1);
        const QString text = t.script.messages.first();
        QCOMPARE(text.count(device), 1);
        QCOMPARE(text,
                 QStringLiteral("Com opening error!\n%1: No such file or directory").arg(device));
    }
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
