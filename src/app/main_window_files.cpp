// Parameter files that come from outside the Open dialog: the recent files
// under File and files dropped on the window.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <functional>

#include "app/main_window.h"

namespace zelvor::app {

namespace {

// The first local parameter file among the dropped URLs; empty when there
// is none.
QString droppedParameterFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).suffix().compare(QLatin1String("ign"), Qt::CaseInsensitive) == 0) {
            return path;
        }
    }
    return {};
}

// Text fields take a drop of text, which a file manager sends beside the
// file's URL: a parameter file dropped on one of them goes to the window
// instead of into the field as its path.
class ParameterFileDropRouter : public QObject {
  public:
    ParameterFileDropRouter(QObject* parent, std::function<void(const QString&)> open)
        : QObject(parent), open_(std::move(open)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
            return QObject::eventFilter(watched, event);
        }
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedParameterFile(drop->mimeData());
        if (path.isEmpty()) return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop) open_(path);
        return true;
    }

  private:
    std::function<void(const QString&)> open_;
};

}  // namespace

void TFormHlav::acceptFileDrops() {
    setAcceptDrops(true);
    auto* router = new ParameterFileDropRouter(this, [this](const QString& path) {
        openParameterFile(QFileInfo(path).absoluteFilePath());
    });
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->acceptDrops()) child->installEventFilter(router);
    }
}

void TFormHlav::buildRecentFileItems(QMenu* file) {
    for (int place = 0; place < static_cast<int>(RecentFiles::kLimit); ++place) {
        auto* item = file->addAction(QString());
        item->setObjectName(QStringLiteral("MenuRecent%1").arg(place + 1));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, place] { MenuRecentClick(place); });
        recentItems_ << item;
    }
    QAction* separator = file->addSeparator();
    separator->setObjectName(QStringLiteral("MenuRecentSeparator"));
    separator->setVisible(false);
    recentItems_ << separator;
    // The full path shows as the entry's hint.
    file->setToolTipsVisible(true);
}

void TFormHlav::showRecentFiles() {
    const std::vector<std::string>& paths = recentFiles_.paths();
    for (int place = 0; place < static_cast<int>(RecentFiles::kLimit); ++place) {
        QAction* item = recentItems_[place];
        const bool used = place < static_cast<int>(paths.size());
        item->setVisible(used);
        const QString path = used ? QString::fromStdString(paths[place]) : QString();
        // "&1 name": the number is the entry's key; an ampersand in the
        // name is shown as it is.
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        item->setText(used ? QStringLiteral("&%1 %2").arg(place + 1).arg(name) : QString());
        item->setToolTip(path);
        item->setStatusTip(path);
        item->setData(path);
    }
    recentItems_.last()->setVisible(!paths.empty());
}

void TFormHlav::MenuRecentClick(int place) {
    if (place < 0 || place >= static_cast<int>(recentFiles_.paths().size())) return;
    openParameterFile(QString::fromStdString(recentFiles_.paths()[place]));
}

void TFormHlav::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedParameterFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TFormHlav::dropEvent(QDropEvent* event) {
    const QString path = droppedParameterFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    openParameterFile(QFileInfo(path).absoluteFilePath());
}

}  // namespace zelvor::app
