// The type of parameter files as a desktop finds it: our MIME file compiled
// by update-mime-database together with the common types, and looked up
// through Qt's MIME database, which reads the same compiled files.
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

namespace {

constexpr char kType[] = "application/x-zelvor-parameters";

bool copy(const QString& from, const QString& to) {
    return QFile::copy(from, to);
}

QByteArray run(const QString& program, const QStringList& arguments, bool* ok) {
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return process.readAllStandardError();
}

}  // namespace

class MimeTypeTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString files_;

    QString file(const QString& name, const QByteArray& content) {
        QFile out(QDir(files_).filePath(name));
        if (!out.open(QIODevice::WriteOnly)) return {};
        out.write(content);
        return out.fileName();
    }

    QByteArray parameterFile() {
        const QString path = QDir(files_).filePath(QStringLiteral("written-by-cli"));
        bool ok = false;
        run(QStringLiteral(ZELVOR_CLI_PATH), {QStringLiteral("new"), QStringLiteral("-o"), path},
            &ok);
        QFile in(path);
        return ok && in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

  private slots:
    void initTestCase() {
        // The database of this test: the common types and ours, compiled as
        // the package's installation compiles them.
        const QDir share(folder_.filePath(QStringLiteral("share")));
        QVERIFY(share.mkpath(QStringLiteral("mime/packages")));
        QVERIFY(copy(QStringLiteral(ZELVOR_COMMON_TYPES),
                     share.filePath(QStringLiteral("mime/packages/freedesktop.org.xml"))));
        QVERIFY(copy(QStringLiteral(ZELVOR_MIME_FILE),
                     share.filePath(QStringLiteral("mime/packages/zelvor.xml"))));
        bool ok = false;
        const QByteArray errors = run(QStringLiteral("update-mime-database"),
                                      {share.filePath(QStringLiteral("mime"))}, &ok);
        QVERIFY2(ok, errors.constData());
        QVERIFY2(!errors.contains(QByteArrayLiteral("zelvor")), errors.constData());
        QVERIFY(QFile::exists(share.filePath(QStringLiteral("mime/mime.cache"))));
        // The database reads only these folders, none of the system's.
        QVERIFY(QDir(folder_.path()).mkpath(QStringLiteral("home")));
        qputenv("XDG_DATA_DIRS", share.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", folder_.filePath(QStringLiteral("home")).toLocal8Bit());
        files_ = folder_.filePath(QStringLiteral("files"));
        QVERIFY(QDir().mkpath(files_));
    }

    void parameterFilesHaveTheirType() {
        const QByteArray tune = parameterFile();
        QVERIFY(tune.startsWith("ZARBOLIK_KEY"));
        QMimeDatabase types;
        // By name, also in capitals as older systems wrote them, and by the
        // key word when the name has lost its ending.
        QCOMPARE(types.mimeTypeForFile(file(QStringLiteral("street.ign"), tune)).name(),
                 QLatin1String(kType));
        QCOMPARE(types.mimeTypeForFile(file(QStringLiteral("TRACK.IGN"), tune)).name(),
                 QLatin1String(kType));
        QCOMPARE(types.mimeTypeForFile(file(QStringLiteral("tune-copy"), tune)).name(),
                 QLatin1String(kType));
        // Other text stays text.
        QCOMPARE(types.mimeTypeForFile(file(QStringLiteral("notes"), "ZARBOLIK or not\n")).name(),
                 QLatin1String("text/plain"));
    }

    void theTypeIsTextWithOurIcon() {
        const QMimeType type = QMimeDatabase().mimeTypeForName(QLatin1String(kType));
        QVERIFY(type.isValid());
        QVERIFY(type.inherits(QStringLiteral("text/plain")));
        QCOMPARE(type.iconName(), QStringLiteral("zelvor"));
        QCOMPARE(type.globPatterns(), QStringList{QStringLiteral("*.ign")});
    }
};

QTEST_GUILESS_MAIN(MimeTypeTest)
#include "mime_type_test.moc"
