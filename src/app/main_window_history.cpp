// The history of snapshots from the window: what is kept at a read, a
// program, a save, an open and the close, File > History…, and the title
// that names the file and marks changes not yet in it.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>

#include "app/history_dialog.h"
#include "app/history_keeper.h"
#include "app/main_window.h"
#include "link/unit_identification.h"
#include "model/default_set.h"
#include "model/parameter_file_io.h"

namespace zelvor::app {

namespace {

constexpr int kNoteMilliseconds = 10000;

}  // namespace

void TFormHlav::buildHistoryItem(QMenu* file) {
    historyKeeper_ = new HistoryKeeper(
        [this](const QString& problem) {
            // A note, never a box: the tuner goes on whether or not the
            // history can be written.
            statusBar()->showMessage(toolText(i18n::ToolText::HistoryNotKept).arg(problem),
                                     kNoteMilliseconds);
        },
        this);
    connect(addMenuAction(file, "MenuHistory"), &QAction::triggered, this,
            &TFormHlav::MenuHistoryClick);
}

void TFormHlav::keepSnapshot(history::Event event, bool unitTalkedTo) {
    const QString unit =
        unitTalkedTo ? QString::fromStdString(link::unitText(link_->transfer().identification()))
                     : QString();
    historyKeeper_->keep(event, fileName(), unit, image_);
}

void TFormHlav::fileKept(history::Event event) {
    fileImage_ = image_;
    keepSnapshot(event, false);
    showTitle();
}

void TFormHlav::readFileAtStart() {
    // The settings name the file of the last run while the image is the one
    // of its close: the mark compares it with the file as Open would read it.
    fileImage_.reset();
    if (!state_.fileName.empty()) {
        model::ParameterImage file = image_;
        if (model::loadParameterFile(state_.fileName, file) == model::LoadStatus::Loaded) {
            model::applyBikeUpdate(file);
            model::OutsideSettings outside = outside_;
            model::sanitize(file, outside);
            fileImage_ = file;
        }
    }
    showTitle();
}

bool TFormHlav::differsFromFile() const {
    if (state_.fileName.empty()) return false;
    return !fileImage_ || *fileImage_ != image_;
}

void TFormHlav::showTitle() {
    if (historyKeeper_ == nullptr) return;  // still being built
    QString title = baseTitle_;
    if (!state_.fileName.empty()) {
        const QString mark = differsFromFile() ? QStringLiteral("*") : QString();
        title = mark + QFileInfo(fileName()).fileName() + QStringLiteral(" - ") + baseTitle_;
    }
    if (title != windowTitle()) setWindowTitle(title);
}

void TFormHlav::MenuHistoryClick() {
    if (historyDialog_ == nullptr) {
        HistoryDialog::Actions actions{
            .restore = [this](const model::ParameterImage& image) { restoreSnapshot(image); },
            .exportPath =
                [this](const QString& proposed) {
                    return dialogs_->saveParameterFile(iniDir(), proposed);
                },
            .exported =
                [this](const QString& path, const model::ParameterImage& image) {
                    historyKeeper_->keep(history::Event::Save, path, {}, image);
                },
            .writeFailed =
                [this](const QString& path, const QString& error) {
                    dialogs_->message(message(i18n::MessageKey::MsgOpenFileError) +
                                      QStringLiteral("\n") + path + QStringLiteral("\n") + error);
                },
        };
        historyDialog_ = new HistoryDialog(std::move(actions), this);
        historyDialog_->setLanguage(uiLanguage());
        historyDialog_->setCompare(compareSnapshot_);
        // Closed, the dialog hands the keyboard back to the main window.
        connect(historyDialog_, &QDialog::finished, this, [this] { activateWindow(); });
    }
    // What this window asked to keep is in the listing.
    historyKeeper_->flush();
    historyDialog_->reload();
    historyDialog_->show();
    historyDialog_->raise();
    historyDialog_->activateWindow();
    historyDialog_->setFocus();
}

void TFormHlav::setSnapshotCompare(SnapshotCompare compare) {
    compareSnapshot_ = std::move(compare);
    if (historyDialog_ != nullptr) historyDialog_->setCompare(compareSnapshot_);
}

void TFormHlav::restoreSnapshot(const model::ParameterImage& image) {
    // As Open, a transfer ends first and the image becomes one undo step;
    // unlike a file, a snapshot is a whole image and comes back as it was
    // (its constants and pins are not set from its bike again).
    const bool stopped = stopTransfer();
    image_ = image;
    scaling_.computeBaseTables(image_);
    runPipeline();
    if (!stopped) hideTransferStatus();
}

}  // namespace zelvor::app
