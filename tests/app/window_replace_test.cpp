// What happens when something replaces the parameter set or ends the
// window while the unit is busy: Open after a Read was started, Open of a
// file of another bike, closing during a Program, and a close whose settings
// cannot be written.
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "../support/window_fixture.h"
#include "model/default_set.h"
#include "model/parameter_file_io.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

using namespace zelvor;
using zelvor::testing::ScriptedDialogs;
using zelvor::testing::WindowUnderTest;

namespace {

QString statusText(app::TFormHlav& w) {
    return w.controls().find<QLabel>("LabelHlaseni")->text();
}

bool statusShown(app::TFormHlav& w) {
    return !w.controls().find<QLabel>("LabelHlaseni")->isHidden();
}

// A parameter file of another bike with a value of its own.
QString writeBikeFile(const QString& folder, unsigned bike) {
    model::ParameterImage image;
    model::InjectionScaling scaling;
    image.set(model::Field::BIKE_BikeType, bike);
    model::loadDefaultSet(image, scaling);
    image.set(model::Field::FAN_Fan1, 97);
    model::sanitize(image);
    const QString path = folder + QStringLiteral("/bike%1.ign").arg(bike);
    if (!model::saveParameterFile(path.toStdString(), image)) return {};
    return path;
}

}  // namespace

class WindowReplaceTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    // The unit's constants and pins follow the bike of an opened file, as
    // they do at the next start: a Program then a restart verify the same.
    void openFollowsTheBikeOfTheFile() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        QCOMPARE(w.image().get(model::Field::FIXED_Byte4), 19u);
        t.script.openNames = {writeBikeFile(folder_.path(), 2)};
        w.MenuOpenClick();
        QCOMPARE(w.image().get(model::Field::BIKE_BikeType), 2u);
        model::ParameterImage atStart = w.image();
        model::applyBikeUpdate(atStart);
        QVERIFY(w.image() == atStart);
        QCOMPARE(w.image().get(model::Field::FIXED_Byte4), 30u);
        QCOMPARE(w.image().get(model::Field::INPUTS_PinEngine23), 0u);
    }

    // Open during a Read stops the Read: the file's set and name stay, and
    // the label says the Read was stopped instead of vanishing.
    void openDuringAReadKeepsTheFile() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        const QString path = writeBikeFile(folder_.path(), 0);
        w.MenuReadClick();
        t.ticks(8);
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Read);
        t.script.openNames = {path};
        w.MenuOpenClick();
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Idle);
        QCOMPARE(w.fileName(), path);
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), 97u);
        QCOMPARE(statusText(w), QStringLiteral("Read: stopped"));
        QVERIFY(statusShown(w));
        t.ticks(300);
        QVERIFY(statusShown(w));
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), 97u);
    }

    // New stops a running Program; its unconfirmed blocks stay flagged, so
    // programming after a change sends them again.
    void newDuringAProgramStopsItAndKeepsItsBlocks() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        w.MenuProgramClick();
        t.ticks(8);
        t.script.answers = {app::Dialogs::Answer::Yes};
        w.MenuNewClick();
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Idle);
        QCOMPARE(statusText(w), QStringLiteral("Program device: stopped"));
        for (int block = 1; block <= 9; ++block) QVERIFY(w.unitLink().transfer().blockFlag(block));
    }

    // A close in the middle of a Program asks first; "No" keeps the window.
    void closingDuringAProgramAsks() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        w.show();
        w.MenuProgramClick();
        t.script.answers = {app::Dialogs::Answer::No};
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(t.script.questions.size(), 1);
        QVERIFY(t.script.questions.first().contains(QStringLiteral("half programmed")));
        t.script.answers = {app::Dialogs::Answer::Yes};
        QVERIFY(w.close());
    }

    // Settings that cannot be written are reported with the reason, and the
    // tuner may keep the parameter set in a file.
    void settingsThatCannotBeWrittenOfferAFile() {
        QTemporaryDir folder;
        QFile blocker(folder.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString settings = blocker.fileName() + QStringLiteral("/zelvor");
        const QString kept = folder.filePath(QStringLiteral("kept.ign"));
        {
            WindowUnderTest t(settings);
            app::TFormHlav& w = t.window;
            w.image().set(model::Field::FAN_Fan2, 91);
            t.script.answers = {app::Dialogs::Answer::Yes};
            t.script.saveNames = {kept};
            QVERIFY(w.close());
            QCOMPARE(t.script.questions.size(), 1);
            QVERIFY(t.script.questions.first().contains(QStringLiteral("could not be saved")));
            QVERIFY(t.script.questions.first().contains(QStringLiteral("not-a-folder")));
        }
        model::ParameterImage read;
        QCOMPARE(model::loadParameterFile(kept.toStdString(), read), model::LoadStatus::Loaded);
        QCOMPARE(read.get(model::Field::FAN_Fan2), 91u);
    }
};

QTEST_MAIN(WindowReplaceTest)
#include "window_replace_test.moc"
