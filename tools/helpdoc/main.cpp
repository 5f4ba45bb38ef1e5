// zelvor-helpdoc: turns a Markdown user manual, with its pictures, into a PDF
// help document.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include "helpdoc/manual_pdf.h"

namespace {

int fail(const QString& text) {
    QTextStream(stderr) << "zelvor-helpdoc: " << text << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3 || arguments.size() > 4) {
        QTextStream(stderr) << "usage: zelvor-helpdoc MANUAL.md OUTPUT.pdf [PICTURE_FOLDER]\n";
        return 2;
    }
    const QString& source = arguments[1];
    const QString& target = arguments[2];
    // The pictures the manual names are looked up here (default: beside it).
    const QString pictures = arguments.size() > 3 ? arguments[3] : QFileInfo(source).absolutePath();

    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("cannot read %1: %2").arg(source, input.errorString()));
    }
    const QString markdown = QString::fromUtf8(input.readAll());
    if (markdown.trimmed().isEmpty()) return fail(QStringLiteral("%1 is empty").arg(source));

    // The PDF replaces the target only once it is complete, so a failed run
    // never leaves a truncated document behind.
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly)) {
        return fail(QStringLiteral("cannot write %1: %2").arg(target, output.errorString()));
    }
    const zelvor::helpdoc::PdfWriteResult written =
        zelvor::helpdoc::writeManualPdf(markdown, output, {}, {}, pictures);
    if (!written.ok()) {
        output.cancelWriting();
        return fail(QStringLiteral("%1: %2").arg(target, written.error));
    }
    if (!output.commit()) {
        return fail(QStringLiteral("cannot write %1: %2").arg(target, output.errorString()));
    }
    return 0;
}
