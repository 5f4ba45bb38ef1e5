#include "app/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "editing/widgets/tool_text.h"

namespace zelvor::app {

namespace {

const QString kIgnFilter = QStringLiteral("Ignition Parametrs(*.ign)");
// "*", not "*.*": a file name without a dot is a file too.
const QString kAllFilter = QStringLiteral("All Files (*)");
const QString kPdfFilter = QStringLiteral("PDF document (*.pdf)");

// Gives the keyboard back to the window a dialog was modal to when it
// closes: without a window manager it would stay with the closed dialog,
// and the window's menus and shortcuts would not answer.
class KeyboardBack {
  public:
    explicit KeyboardBack(QWidget* parent) : parent_(parent) {}
    ~KeyboardBack() {
        if (parent_ != nullptr) parent_->window()->activateWindow();
    }
    KeyboardBack(const KeyboardBack&) = delete;
    KeyboardBack& operator=(const KeyboardBack&) = delete;

  private:
    QWidget* parent_;
};

QString runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QStringList& filters,
                      const QString& folder, const QString& proposedName,
                      const QString& suffix = QStringLiteral("ign"), const QString& title = {}) {
    const KeyboardBack back(parent);
    QFileDialog dialog(parent);
    if (!title.isEmpty()) dialog.setWindowTitle(title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(suffix);
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
    const KeyboardBack back(parent_);
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent_);
    box.exec();
}

Dialogs::Answer QtDialogs::askYesNoCancel(const QString& text) {
    const KeyboardBack back(parent_);
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

QString QtDialogs::savePrintFile(const QString& folder, const QString& proposedName) {
    // Offered when the system has no printer, so the title says why.
    return runFileDialog(parent_, QFileDialog::AcceptSave, {kPdfFilter}, folder, proposedName,
                         QStringLiteral("pdf"), said_(i18n::ToolText::DialogNoPrinter));
}

QStringList QtDialogs::openRideLogs(const QString& folder) {
    const KeyboardBack back(parent_);
    return QFileDialog::getOpenFileNames(parent_, said_(i18n::ToolText::DialogOpenRideLogs), folder,
                                         said_(i18n::ToolText::DialogRideLogFilter));
}

QString QtDialogs::openRideLog(const QString& folder) {
    const KeyboardBack back(parent_);
    return QFileDialog::getOpenFileName(parent_, said_(i18n::ToolText::DialogOpenLog), folder,
                                        said_(i18n::ToolText::DialogRideLogFilter));
}

}  // namespace zelvor::app
