// The page gallery that makes the manuals' pictures: one picture of the window
// and one of each page, in the language asked for, with the engine running,
// so the map pages show the lit cell; bad arguments are refused.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct GalleryRun {
    int exitCode = -1;
    QString errors;
};

GalleryRun runGallery(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen:configfile=" ZELVOR_GALLERY_SCREEN));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZELVOR_GALLERY_TOOL), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

// The pixels of the live highlighting's lime.
int litPixels(const QImage& picture) {
    int lit = 0;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            if (rgb.pixel(x, y) == qRgb(0, 255, 0)) ++lit;
        }
    }
    return lit;
}

const char* const kPages[] = {
    "page00_TabSheet_Bike.png",  "page01_TabSheet_Advance.png", "page02_TabSheet_Jet1A.png",
    "page03_TabSheet_Jet2A.png", "page04_TabSheet_Poloha.png",  "page05_TabSheet_Korekce.png",
    "page06_TabSheet_Cidla.png", "page07_TabSheet_Idle.png",    "page08_TabSheet_Gas.png",
    "page09_TabSheet_Race.png",  "page10_TabSheet_Gear.png",    "page11_TabSheet_Monitor.png",
};

}  // namespace

class PageGalleryTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void everyPageWithTheEngineRunning() {
        const QString out = folder_.filePath(QStringLiteral("de"));
        const GalleryRun run = runGallery({out, QStringLiteral("1")});
        QCOMPARE(run.exitCode, 0);
        // No message box came up behind a picture.
        QVERIFY2(!run.errors.contains(QStringLiteral("the window says")), qPrintable(run.errors));

        const QImage window(QDir(out).filePath(QStringLiteral("window.png")));
        QVERIFY(!window.isNull());
        for (const char* name : kPages) {
            const QImage page(QDir(out).filePath(QLatin1String(name)));
            QVERIFY2(!page.isNull(), name);
            // A page is drawn, not an empty frame: the window is wider.
            QVERIFY2(page.width() > 900 && page.width() <= window.width(), name);
        }
        // The map pages light the column, the row and the cell the engine runs at.
        for (const char* name : {kPages[1], kPages[2], kPages[3]}) {
            QVERIFY2(litPixels(QImage(QDir(out).filePath(QLatin1String(name)))) > 500, name);
        }
        QVERIFY(litPixels(window) > 500);
    }

    void theLanguageChangesThePictures() {
        const QString english = folder_.filePath(QStringLiteral("en"));
        const QString czech = folder_.filePath(QStringLiteral("cz"));
        QCOMPARE(runGallery({english, QStringLiteral("0")}).exitCode, 0);
        QCOMPARE(runGallery({czech, QStringLiteral("3")}).exitCode, 0);
        const QImage a(QDir(english).filePath(QLatin1String(kPages[0])));
        const QImage b(QDir(czech).filePath(QLatin1String(kPages[0])));
        QVERIFY(!a.isNull() && !b.isNull());
        QVERIFY(a != b);
    }

    void badArgumentsAreRefused() {
        const QString out = folder_.filePath(QStringLiteral("refused"));
        QCOMPARE(runGallery({}).exitCode, 2);
        QCOMPARE(runGallery({out, QStringLiteral("4")}).exitCode, 2);
        QCOMPARE(runGallery({out, QStringLiteral("x")}).exitCode, 2);
        QVERIFY(!QDir(out).exists());
    }
};

QTEST_GUILESS_MAIN(PageGalleryTest)
#include "page_gallery_test.moc"
