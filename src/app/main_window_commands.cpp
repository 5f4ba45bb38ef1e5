// File and unit commands: New, bike selection, Open, Save, the Com menu,
// Read, Verify and Program.
#include <QComboBox>
#include <QFileInfo>

#include "app/main_window.h"
#include "editing/page_binder.h"
#include "model/default_set.h"
#include "model/parameter_file_io.h"

namespace zelvor::app {

void TFormHlav::MenuNewClick() {
    auto* bikes = registry_.find<QComboBox>("ComboBoxBike");
    if (bikes != nullptr && bikes->currentIndex() >= editing::kBikeSeparatorItem) return;
    if (dialogs_->askYesNoCancel(message(i18n::MessageKey::MsgAskDefaults)) !=
        Dialogs::Answer::Yes) {
        return;
    }
    const bool stopped = stopTransfer();
    model::loadDefaultSet(image_, scaling_);
    if (!stopped) hideTransferStatus();
    setFileName({});
    runPipeline();
}

bool TFormHlav::stopTransfer() {
    link::TransferEngine& transfer = link_->transfer();
    if (!transfer.running()) return false;
    transfer.stop();
    updateLinkDisplay();
    return true;
}

void TFormHlav::hideTransferStatus() {
    link_->transfer().hideStatus();
    hideStatus();
}

void TFormHlav::ComboBoxBikeChange(int index) {
    // The bike update below changes the image whatever the answer: a
    // transfer must not go on with a set that is no longer on screen.
    stopTransfer();
    if (index >= 0 && index < model::kKnownBikeCount) {
        image_.set(model::Field::BIKE_BikeType, static_cast<unsigned>(index));
    }
    MenuNewClick();
    model::applyBikeUpdate(image_);
    runPipeline();
    scaling_.computeBaseTables(image_);
    applyUiTexts();
}

void TFormHlav::MenuOpenClick() {
    const QString path = dialogs_->openParameterFile(iniDir(), fileName());
    if (path.isEmpty()) {
        // A cancelled Open still clears the status of a finished transfer.
        hideTransferStatus();
        return;
    }
    openParameterFile(path);
}

bool TFormHlav::openParameterFile(const QString& path) {
    if (path.isEmpty()) return false;
    // A running Read would replace the file's parameters, a Program would
    // send half of each set: the transfer ends before the file is read.
    const bool stopped = stopTransfer();
    const model::LoadStatus status = model::loadParameterFile(path.toStdString(), image_);
    if (status == model::LoadStatus::OpenError) {
        showMessage(message(i18n::MessageKey::MsgOpenFileError) + QStringLiteral("\n") + path);
        // A file that can no longer be opened is no longer offered.
        recentFiles_.remove(path.toStdString());
        recentFiles_.remove(QFileInfo(path).absoluteFilePath().toStdString());
    } else if (status == model::LoadStatus::VersionMismatch) {
        showMessage(message(i18n::MessageKey::MsgIgnFileVersion));
    } else {
        // The unit's constants and pins follow the file's bike, as they
        // do at start-up.
        model::applyBikeUpdate(image_);
        scaling_.computeBaseTables(image_);
        runPipeline();
        setFileName(path);
        fileKept(history::Event::Open);
        setIniDir(QFileInfo(path).absolutePath());
        recentFiles_.add(QFileInfo(path).absoluteFilePath().toStdString());
    }
    // The label keeps telling that a transfer was stopped.
    if (!stopped) hideTransferStatus();
    showRecentFiles();
    return status == model::LoadStatus::Loaded;
}

void TFormHlav::MenuSaveClick() {
    const QString path = dialogs_->saveParameterFile(iniDir(), fileName());
    if (path.isEmpty()) return;
    // The file holds exactly the sanitized image the controls then show.
    pageView_->collect();
    model::sanitize(image_, outside_);
    pageView_->refresh();
    const model::FileWriteResult written = model::saveParameterFile(path.toStdString(), image_);
    if (!written) {
        // The old file, if any, is untouched: the write replaces it only when complete.
        showMessage(message(i18n::MessageKey::MsgOpenFileError) + QStringLiteral("\n") + path +
                    QStringLiteral("\n") + QString::fromStdString(written.error));
        return;
    }
    setFileName(path);
    fileKept(history::Event::Save);
    setIniDir(QFileInfo(path).absolutePath());
    recentFiles_.add(QFileInfo(path).absoluteFilePath().toStdString());
    showRecentFiles();
}

void TFormHlav::MenuCom1Click(int index) {
    outside_.portIndex = static_cast<std::uint8_t>(index);
    // A Com item chosen by the user replaces the device given for this run;
    // that device's own item brings it back.
    ports_->useDeviceOverride(false);
    ports_->close();
    ports_->open(outside_.portIndex, message(i18n::MessageKey::MsgComOpenError));
}

void TFormHlav::MenuReadClick() {
    actOnTransfer(link_->transfer().read());
}

void TFormHlav::MenuVerifyClick() {
    actOnTransfer(link_->transfer().verify());
}

void TFormHlav::MenuProgramClick() {
    actOnTransfer(link_->transfer().program());
}

}  // namespace zelvor::app
