// The help document and the About window.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "../support/window_fixture.h"

using namespace zelvor;
using zelvor::testing::WindowUnderTest;

class WindowHelpTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void missingHelpDocumentIsReportedInTheLanguage() {
        WindowUnderTest t(folder_.path());
        QStringList opened;
        t.window.setDocumentOpener([&](const QString& path) {
            opened << path;
            return true;
        });
        t.window.SetLanguage(1);
        t.window.MenuContensClick();
        QVERIFY(opened.isEmpty());
        QCOMPARE(t.script.messages.last(),
                 QStringLiteral("Fehler beim öffnen der Datei Zelvor_de.pdf !"));
    }

    void helpBesideTheProgramIsOpenedWhereverItRunsFrom() {
        const QString beside =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Zelvor_cz.pdf"));
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        WindowUnderTest t(folder_.path());
        QStringList opened;
        bool viewerWorks = true;
        t.window.setDocumentOpener([&](const QString& path) {
            opened << path;
            return viewerWorks;
        });
        t.window.SetLanguage(3);
        const qsizetype messages = t.script.messages.size();
        t.window.MenuContensClick();
        QCOMPARE(opened, QStringList{QFileInfo(beside).absoluteFilePath()});
        QCOMPARE(t.script.messages.size(), messages);
        viewerWorks = false;  // no viewer for the document: the same message as a missing file
        t.window.MenuContensClick();
        QVERIFY(t.script.messages.last().endsWith(QStringLiteral("Zelvor_cz.pdf !")));
        QDir::setCurrent(before);
        QFile::remove(beside);
    }

    void aboutShowsTheBuildStampAndATitlePerLanguage() {
        WindowUnderTest t(folder_.path());
        app::TFormAbout& about = t.window.aboutWindow();
        QVERIFY(about.isHidden());
        QCOMPARE(about.size(), QSize(281, 402));
        const QString date = about.findChild<QLabel*>(QStringLiteral("LabelDate"))->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z][a-z]{2} [1-9][0-9]? [0-9]{4}$"))
                     .match(date)
                     .hasMatch(),
                 qPrintable(date));
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9]{2}:[0-9]{2}:[0-9]{2}$"))
                    .match(about.findChild<QLabel*>(QStringLiteral("LabelTime"))->text())
                    .hasMatch());
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("About Zelvor"));
        QTest::mouseClick(about.findChild<QLabel*>(QStringLiteral("LabelExit")), Qt::LeftButton);
        QVERIFY(about.isHidden());
        t.window.SetLanguage(3);
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("O programu Zelvor"));
        about.close();
        t.window.SetLanguage(2);  // French keeps the title of the last showing
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("O programu Zelvor"));
        about.close();
    }
};

QTEST_MAIN(WindowHelpTest)
#include "window_help_test.moc"
