#include "app/help_document.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace zelvor::app {

QString findHelpDocument(const QString& fileName) {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QStringList candidates = {
        programFolder.filePath(fileName),
        programFolder.filePath(QStringLiteral("../share/zelvor/") + fileName),
        QStringLiteral(ZELVOR_DATA_DIR "/") + fileName,
    };
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile()) return QFileInfo(path).absoluteFilePath();
    }
    return {};
}

DocumentOpener systemDocumentOpener() {
    return [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
}

}  // namespace zelvor::app
