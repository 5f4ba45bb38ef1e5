#include "app/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace zelvor::app {

namespace {

const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
const QString kAllFilter = QStringLiteral("All Files (*.*)");

QString runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QStringList& filters,
                      const QString& folder, const QString& proposedName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(QStringLiteral("ign"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

void QtDialogs::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent_);
    box.exec();
}

Dialogs::Answer QtDialogs::askYesNoCancel(const QString& text) {
    const auto answer = QMessageBox::question(
        parent_, QApplication::applicationDisplayName(), text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return Answer::Yes;
    return answer == QMessageBox::No ? Answer::No : Answer::Cancel;
}

QString QtDialogs::openParameterFile(const QString& folder, const QString& proposedName) {
    return runFileDialog(parent_, QFileDialog::AcceptOpen, {kIgnFilter, kAllFilter}, folder,
                         proposedName);
}

QString QtDialogs::saveParameterFile(const QString& folder, const QString& proposedName) {
    return runFileDialog(parent_, QFileDialog::AcceptSave, {kIgnFilter}, folder, proposedName);
}

}  // namespace zelvor::app
