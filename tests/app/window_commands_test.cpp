// The window's file and unit commands: New, bike selection, Open, Save, the
// Com menu, and Read and Verify against the simulated unit.
#include <signal.h>
#include <sys/resource.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <string>

#include "../support/window_fixture.h"
#include "app/port_controller.h"
#include "editing/page_index.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

using namespace zelvor;
using zelvor::testing::WindowUnderTest;
using Answer = app::Dialogs::Answer;
using model::Field;

namespace {

const QString kAskDefaults = QStringLiteral("Do you want default setting?");

QLabel* label(app::TFormHlav& w, const char* name) {
    return w.controls().find<QLabel>(name);
}

QString statusText(app::TFormHlav& w) {
    return label(w, "LabelHlaseni")->text();
}

bool statusHidden(app::TFormHlav& w) {
    return label(w, "LabelHlaseni")->isHidden();
}

void showPage(app::TFormHlav& w, int page) {
    w.pageControl()->setCurrentIndex(page);
}

// Puts the status label up the way a user does: a Verify on the dead port
// (it leaves the file name alone, unlike Read) and one tick to show it.
// A Verify that found no unit: its error stays on the label.
bool putStatusUp(WindowUnderTest& t) {
    t.window.MenuVerifyClick();
    t.ticks(6 * 6);
    return !statusHidden(t.window) &&
           t.window.unitLink().transfer().state() == link::TransferState::Idle;
}

// Picks a bike in the combo as the user does.
void chooseBike(app::TFormHlav& w, int index) {
    w.controls().find<QComboBox>("ComboBoxBike")->setCurrentIndex(index);
    w.ComboBoxBikeChange(index);
}

void setMemo(model::ParameterImage& image, const std::string& text) {
    for (std::size_t i = 0; i < model::descriptor(Field::MEMO_Text).count; ++i) {
        image.set(Field::MEMO_Text, i, i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
    }
}

bool insideField(std::size_t offset, Field field) {
    const model::FieldDescriptor& d = model::descriptor(field);
    return offset >= d.offset && offset < d.offset + d.byteLength();
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray asBytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// A parameter set clearly unlike the start image: another bike, changed
// values on several pages and a memo.
std::string otherParameterFile() {
    model::ParameterImage image;
    image.set(Field::BIKE_BikeType, 3);
    model::loadDefaultSet(image);
    image.set(Field::FAN_Fan1, 95);
    image.set(Field::IDLE_IdleHyster, 7);
    image.set(Field::ADVANCE_Cell, 17, 25);
    image.set(Field::GEAR_PocetGear, 5);
    setMemo(image, "Dyno run 3\r\nmain jet 120");
    model::sanitize(image);
    return model::formatParameterFile(image);
}

int checkedItem(const app::PortController& ports, int& marks) {
    int item = -1;
    marks = 0;
    for (int i = 0; i < ports.items().size(); ++i) {
        if (ports.items()[i]->isChecked()) {
            item = i;
            ++marks;
        }
    }
    return item;
}

app::StartOptions simulated(std::vector<std::string> arguments = {}) {
    app::StartOptions options;
    options.simulate = true;
    options.simulatorArguments = std::move(arguments);
    return options;
}

// Lowers the largest file this process may write, for one scope. Writes
// beyond it fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, previousHandler_);
    }
    bool active() const { return active_; }

  private:
    rlimit saved_{};
    sighandler_t previousHandler_ = SIG_DFL;
    bool active_ = false;
};

}  // namespace

class WindowCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void newOnTheSeparatorRowAsksNothing() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageBike);
        auto* bikes = w.controls().find<QComboBox>("ComboBoxBike");

        // The user picks the separator row itself: nothing is asked and the
        // image, already holding a known bike, stays as it is.
        const model::ParameterImage start = w.image();
        chooseBike(w, model::kSeparatorIndex);
        QVERIFY(t.script.questions.isEmpty());
        QVERIFY(w.image() == start);
        QCOMPARE(bikes->currentIndex(), 0);

        // An image holding a bike this program does not know shows the
        // separator; New then does nothing at all.
        w.image().set(Field::BIKE_BikeType, 12);
        w.image().set(Field::FAN_Fan1, 90);
        w.pageView().refresh();
        QCOMPARE(bikes->currentIndex(), model::kSeparatorIndex);
        const model::ParameterImage unknown = w.image();
        t.script.answers = {Answer::Yes};
        w.MenuNewClick();
        QVERIFY(t.script.questions.isEmpty());
        QVERIFY(w.image() == unknown);
    }

    void newAskedAndAnswered() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageBike);
        const QString saved = folder.filePath("tune.ign");
        t.script.saveNames = {saved};
        w.MenuSaveClick();
        QCOMPARE(w.fileName(), saved);

        w.image().set(Field::LIMITER_IgnLimiter, 100);
        w.image().set(Field::LIMITER_JetLimiter, 95);
        w.image().set(Field::LIMITER_RetardLimiterRpm, 90);
        w.image().set(Field::FAN_Fan2, 97);
        w.runPipeline();
        const model::ParameterImage changed = w.image();

        for (Answer declined : {Answer::No, Answer::Cancel}) {
            t.script.answers = {declined};
            t.script.questions.clear();
            w.MenuNewClick();
            QCOMPARE(t.script.questions, QStringList{kAskDefaults});
            QVERIFY(w.image() == changed);
            QCOMPARE(w.fileName(), saved);
        }

        QVERIFY(putStatusUp(t));
        t.script.answers = {Answer::Yes};
        w.MenuNewClick();
        QCOMPARE(w.image().get(Field::LIMITER_IgnLimiter), 108);
        QCOMPARE(w.image().get(Field::LIMITER_JetLimiter), 111);
        QCOMPARE(w.image().get(Field::LIMITER_RetardLimiterRpm), 106);
        QCOMPARE(w.image().get(Field::FAN_Fan2), 104);
        QCOMPARE(w.controls().find<QSpinBox>("EditRetardLimiterRpm")->value(), 10600);
        QVERIFY(w.fileName().isEmpty());
        QVERIFY(statusHidden(w));
        QVERIFY(w.controls().find<QWidget>("CGaugeProgram")->isHidden());
        const model::ParameterImage first = w.image();

        // New is one undo step.
        QVERIFY(w.pipeline().canUndo());
        w.SpeedButtonZpetClick();
        QVERIFY(w.image() == changed);
        w.SpeedButtonZnovuClick();
        QVERIFY(w.image() == first);

        t.script.answers = {Answer::Yes};
        w.MenuNewClick();
        QVERIFY(w.image() == first);
    }

    void choosingABikeSetsItsConstantsAndPins() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageBike);

        w.image().set(Field::FAN_Fan1, 95);
        w.runPipeline();
        t.script.answers = {Answer::Yes};
        chooseBike(w, 2);
        QCOMPARE(t.script.questions, QStringList{kAskDefaults});
        QCOMPARE(w.image().get(Field::BIKE_BikeType), 2);
        QCOMPARE(w.image().get(Field::FIXED_Byte4), 30);
        QCOMPARE(w.image().get(Field::INPUTS_PinEngine23), 0);
        QCOMPARE(w.image().get(Field::INPUTS_PinEngine14), 0);
        QCOMPARE(w.image().get(Field::INPUTS_PinBody11), 0);
        QCOMPARE(w.image().get(Field::FAN_Fan1), 102);  // the defaults were loaded

        // Declined: no defaults, but the bike, its constants and pins change.
        w.image().set(Field::FAN_Fan1, 95);
        w.runPipeline();
        const model::ParameterImage before = w.image();
        t.script.answers = {Answer::No};
        chooseBike(w, 6);
        QCOMPARE(t.script.questions.size(), 2);
        QCOMPARE(w.image().get(Field::BIKE_BikeType), 6);
        QCOMPARE(w.image().get(Field::FIXED_Byte2), 0);
        QCOMPARE(w.image().get(Field::FIXED_Byte3), 65);
        QCOMPARE(w.image().get(Field::FIXED_Byte4), 19);
        QCOMPARE(w.image().get(Field::FIXED_Byte5), 0);
        QCOMPARE(w.image().get(Field::INPUTS_PinEngine23), 0);  // Neutral
        QCOMPARE(w.image().get(Field::INPUTS_PinEngine14), 0);  // ATS
        QCOMPARE(w.image().get(Field::INPUTS_PinBody11), 1);    // Lambda Heat
        QCOMPARE(w.image().get(Field::FAN_Fan1), 95);
        QCOMPARE(w.controls().find<QComboBox>("ComboBoxBike")->currentIndex(), 6);
        for (std::size_t offset = 0; offset < model::ParameterImage::kSize; ++offset) {
            if (offset == 0 || (offset >= 2 && offset <= 5) || (offset >= 38 && offset <= 40)) {
                continue;  // the bike, its constants and the pins
            }
            QVERIFY2(w.image().byte(offset) == before.byte(offset),
                     qPrintable(QStringLiteral("byte %1").arg(offset)));
        }
        // The change of bike is a step of its own.
        w.SpeedButtonZpetClick();
        QVERIFY(w.image() == before);
    }

    void defaultsDifferByBikeOnlyInTheInjectionMaps() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageBike);
        w.image().set(Field::GEAR_PocetGear, 5);
        w.image().set(Field::GEAR_GearSystem, 1);
        setMemo(w.image(), "Front sprocket 15");
        w.image().set(Field::LIMITER_StartLimiter, 80);
        w.runPipeline();
        const model::ParameterImage edited = w.image();

        t.script.answers = {Answer::Yes, Answer::Yes};
        chooseBike(w, 0);
        const model::ParameterImage first = w.image();
        chooseBike(w, 1);
        const model::ParameterImage second = w.image();
        QCOMPARE(t.script.questions.size(), 2);

        QCOMPARE(first.get(Field::LIMITER_StartLimiter), 70);
        QCOMPARE(first.get(Field::BIKE_BikeType), 0);
        QCOMPARE(second.get(Field::BIKE_BikeType), 1);
        int differingCells = 0;
        for (std::size_t offset = 1; offset < model::ParameterImage::kSize; ++offset) {
            if (insideField(offset, Field::JET_1A_Cell) ||
                insideField(offset, Field::JET_2A_Cell)) {
                differingCells += first.byte(offset) != second.byte(offset);
                continue;
            }
            QVERIFY2(first.byte(offset) == second.byte(offset),
                     qPrintable(QStringLiteral("byte %1").arg(offset)));
        }
        QVERIFY(differingCells > 0);

        // Kept through both default sets.
        for (const model::ParameterImage* image : {&first, &second}) {
            QCOMPARE(image->get(Field::GEAR_PocetGear), 5);
            QCOMPARE(image->get(Field::GEAR_GearSystem), 1);
            for (std::size_t i = 0; i < model::descriptor(Field::MEMO_Text).count; ++i) {
                QCOMPARE(image->get(Field::MEMO_Text, i), edited.get(Field::MEMO_Text, i));
            }
        }
        QCOMPARE(w.controls().find<QPlainTextEdit>("Memo1")->toPlainText(),
                 QStringLiteral("Front sprocket 15"));
    }

    void openReadsAFileThroughTheChangePipeline() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        t.script.messages.clear();  // the missing COM1 at start-up
        const std::string content = otherParameterFile();
        const QString path = folder.filePath("other.ign");
        QVERIFY(writeFile(path, asBytes(content)));

        const model::ParameterImage start = w.image();
        model::ParameterImage expected = start;
        QCOMPARE(model::parseParameterFile(content, expected), model::ReadOutcome::Accepted);
        model::applyBikeUpdate(expected);  // the pins and constants follow the file's bike
        model::sanitize(expected);

        QVERIFY(putStatusUp(t));
        t.script.openNames = {path};
        w.MenuOpenClick();
        QVERIFY(t.script.messages.isEmpty());
        QVERIFY(w.image() == expected);
        QCOMPARE(w.image().get(Field::FAN_Fan1), 95);
        QCOMPARE(w.image().get(Field::IDLE_IdleHyster), 7);
        QCOMPARE(w.image().get(Field::BIKE_BikeType), 3);
        QCOMPARE(w.fileName(), path);
        QVERIFY(statusHidden(w));
        // The visible (idle) page shows what was opened.
        QCOMPARE(w.controls().find<QSpinBox>("EditIdleHyster")->value(), 70);

        QVERIFY(w.pipeline().canUndo());
        w.SpeedButtonZpetClick();
        QVERIFY(w.image() == start);
    }

    void openThatFailsOrIsCancelledChangesNothing() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        const QString good = folder.filePath("good.ign");
        QVERIFY(writeFile(good, asBytes(otherParameterFile())));
        t.script.openNames = {good};
        w.MenuOpenClick();
        QCOMPARE(w.fileName(), good);
        w.image().set(Field::FAN_Fan2, 99);
        w.runPipeline();
        const model::ParameterImage current = w.image();

        const QString older = folder.filePath("older.ign");
        QVERIFY(writeFile(older,
                          "ZARBOLIK_KEY    62 \r\n\r\nFAN             90    91 \r\n"
                          "LIMITER       6000  9000  9000  8800    20 \r\n"));
        const QString missing = folder.filePath("missing.ign");
        struct Case {
            QString chosen;  // empty: the dialog is cancelled
            QString message;
        };
        const Case cases[] = {
            {older, QStringLiteral("Unmatched version of *.ign file!")},
            {missing, QStringLiteral("Open file error!")},
            {QString(), QString()},
        };
        for (const Case& c : cases) {
            t.script.messages.clear();
            QVERIFY(putStatusUp(t));
            t.script.openNames = {c.chosen};
            w.MenuOpenClick();
            if (c.message.isEmpty()) {
                QVERIFY(t.script.messages.isEmpty());
            } else {
                QCOMPARE(t.script.messages.size(), 1);
                QVERIFY2(t.script.messages.first().startsWith(c.message),
                         qPrintable(t.script.messages.first()));
            }
            QVERIFY(w.image() == current);
            QCOMPARE(w.fileName(), good);
            QVERIFY(statusHidden(w));
        }
        // Nothing of the failed opens went into the history: one undo step
        // takes back the edit, the next the good file.
        w.SpeedButtonZpetClick();
        QCOMPARE(w.image().get(Field::FAN_Fan2), 104);
        QCOMPARE(w.image().get(Field::FAN_Fan1), 95);
    }

    void saveWritesTheSanitizedImageWithTheTypedValue() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        t.script.messages.clear();
        showPage(w, editing::kPageBike);
        // Out of range on a page that is not visible: the sanitizer limits it.
        w.image().set(Field::START_INJ_StartJet, 60);
        // Typed on the visible page but not committed.
        w.controls()
            .find<QSpinBox>("EditFan1")
            ->findChild<QLineEdit*>()
            ->setText(QStringLiteral("97"));

        model::ParameterImage expected = w.image();
        expected.set(Field::FAN_Fan1, 97);
        model::sanitize(expected);
        QCOMPARE(expected.get(Field::START_INJ_StartJet), 50);

        const QString path = folder.filePath("saved.ign");
        t.script.saveNames = {path};
        w.MenuSaveClick();
        QVERIFY(t.script.messages.isEmpty());
        QCOMPARE(readFile(path), asBytes(model::formatParameterFile(expected)));
        QVERIFY(w.image() == expected);
        QCOMPARE(w.controls().find<QSpinBox>("EditFan1")->value(), 97);
        QCOMPARE(w.fileName(), path);

        // Saving again over the file replaces it with the new contents.
        w.image().set(Field::IDLE_IdleHyster, 9);
        t.script.saveNames = {path};
        w.MenuSaveClick();
        expected.set(Field::IDLE_IdleHyster, 9);
        QCOMPARE(readFile(path), asBytes(model::formatParameterFile(expected)));
    }

    void saveThatFailsKeepsTheLabelAndTheOldFile() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        const QString first = folder.filePath("first.ign");
        t.script.saveNames = {first};
        w.MenuSaveClick();
        QCOMPARE(w.fileName(), first);
        t.script.messages.clear();

        // Cancelled: nothing.
        w.MenuSaveClick();
        QVERIFY(t.script.messages.isEmpty());
        QCOMPARE(w.fileName(), first);

        // A folder that does not exist.
        const QString nowhere = folder.filePath("no/such/folder/tune.ign");
        t.script.saveNames = {nowhere};
        w.MenuSaveClick();
        QCOMPARE(t.script.messages.size(), 1);
        QVERIFY(t.script.messages.first().startsWith(QStringLiteral("Open file error!")));
        QCOMPARE(w.fileName(), first);
        QVERIFY(!QFile::exists(nowhere));

        // An existing file whose replacement cannot be written completely
        // (the file size limit stops the write half-way, even for root).
        const QString old = folder.filePath("old.ign");
        const QByteArray oldContent = "ZARBOLIK_KEY    63 \r\n\r\nFAN            100   101 \r\n";
        QVERIFY(writeFile(old, oldContent));
        t.script.messages.clear();
        t.script.saveNames = {old};
        {
            FileSizeLimit limit(1024);
            QVERIFY(limit.active());
            w.MenuSaveClick();
        }
        QCOMPARE(t.script.messages.size(), 1);
        QVERIFY(t.script.messages.first().startsWith(QStringLiteral("Open file error!")));
        QCOMPARE(readFile(old), oldContent);
        QCOMPARE(w.fileName(), first);
        // No half-written temporary file is left beside it.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("first.ign"), QStringLiteral("old.ign")}));
    }

    void comMenuKeepsOneMarkAndReportsEveryFailedOpen() {
        QTemporaryDir folder;
        // Devices that exist on no machine, whatever serial ports it has.
        QByteArray portsSection = "[PORTS]\r\n";
        for (int com : {1, 4, 20}) {
            portsSection += QStringLiteral("COM%1=%2\r\n")
                                .arg(com)
                                .arg(folder.filePath(QStringLiteral("absent%1").arg(com)))
                                .toUtf8();
        }
        QVERIFY(writeFile(folder.filePath("Zelvor.ini"), portsSection));
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        auto* ports = w.findChild<app::PortController*>();
        QVERIFY(ports != nullptr);
        QCOMPARE(ports->items().size(), 20);
        int marks = 0;
        QCOMPARE(checkedItem(*ports, marks), 0);
        QCOMPARE(marks, 1);
        QCOMPARE(t.script.messages.size(), 1);  // COM1 has no device here

        w.MenuCom1Click(3);
        QCOMPARE(w.portIndex(), 3);
        QCOMPARE(checkedItem(*ports, marks), 3);
        QCOMPARE(marks, 1);
        QCOMPARE(t.script.messages.size(), 2);
        QVERIFY(t.script.messages.last().startsWith(QStringLiteral("Com opening error!")));
        QVERIFY(t.script.messages.last().contains(folder.filePath("absent4")));

        w.MenuCom1Click(3);  // the same item again: another attempt
        QCOMPARE(checkedItem(*ports, marks), 3);
        QCOMPARE(marks, 1);
        QCOMPARE(t.script.messages.size(), 3);
        QCOMPARE(t.script.messages.filter(QStringLiteral("Com opening error!")).size(), 3);

        ports->items()[19]->trigger();  // the menu item itself
        QCOMPARE(w.portIndex(), 19);
        QCOMPARE(checkedItem(*ports, marks), 19);
        QCOMPARE(marks, 1);
        QCOMPARE(t.script.messages.size(), 4);
    }

    void comMenuReopensAWorkingPort() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        QVERIFY(w.simulator() != nullptr);
        QVERIFY(t.script.messages.isEmpty());
        auto* ports = w.findChild<app::PortController*>();
        const link::MonitorDecoder& monitor = w.unitLink().monitor();
        QTRY_VERIFY_WITH_TIMEOUT(monitor.framesDecoded() > 0, 5000);

        // The simulated unit's own item, chosen again and again, reopens it.
        for (int pick = 0; pick < 2; ++pick) {
            ports->overrideItem()->trigger();
            QVERIFY(t.script.messages.isEmpty());
            int marks = 0;
            QCOMPARE(checkedItem(*ports, marks), -1);
            QCOMPARE(marks, 0);
            QVERIFY(ports->overrideItem()->isChecked());
            const auto seen = monitor.framesDecoded();
            QTRY_VERIFY_WITH_TIMEOUT(monitor.framesDecoded() > seen, 5000);
        }
    }

    void readOfAnOlderUnitStopsWithTheVersionMessage() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path(), simulated({"--version", "62"}), false);
        app::TFormHlav& w = t.window;
        QVERIFY(w.simulator() != nullptr);
        QVERIFY(t.script.messages.isEmpty());
        const model::ParameterImage start = w.image();
        const QString expected =
            QStringLiteral("Unmatched version of PC and Ignition programs!  PC-63, IGN-62");

        w.MenuReadClick();
        QTRY_COMPARE_WITH_TIMEOUT(t.script.messages.size(), 1, 5000);
        QCOMPARE(t.script.messages.first(), expected);
        // Well past the next retry: the message stays single.
        QTest::qWait(800);
        QCOMPARE(t.script.messages.size(), 1);
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Idle);
        QVERIFY(w.image() == start);
        QVERIFY(!statusHidden(w));
        QCOMPARE(statusText(w), QStringLiteral("Read:"));

        // Programming stops at the same check, before any block is sent.
        w.MenuProgramClick();
        QTRY_COMPARE_WITH_TIMEOUT(t.script.messages.size(), 2, 5000);
        QCOMPARE(t.script.messages.last(), expected);
        QTest::qWait(800);
        QCOMPARE(t.script.messages.size(), 2);
        QVERIFY(w.image() == start);
        QVERIFY(!statusHidden(w));
    }

    void verifyFindsAOneByteDifference() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        QVERIFY(w.simulator() != nullptr);
        w.MenuProgramClick();
        // Programming, its verify, then the unit's saving.
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Saving:"), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Program device: OK"), 10000);

        w.MenuVerifyClick();
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Verify: OK"), 10000);

        w.image().set(Field::FAN_Fan1, w.image().get(Field::FAN_Fan1) - 1);
        const model::ParameterImage changed = w.image();
        w.MenuVerifyClick();
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Verify error!"), 10000);
        QVERIFY(w.image() == changed);
        QVERIFY(t.script.messages.isEmpty());
    }
};

QTEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
