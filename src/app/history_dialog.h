#pragma once

#include <QDialog>
#include <functional>

#include "app/history_list_model.h"
#include "editing/widgets/tool_text.h"
#include "history/snapshot_store.h"
#include "model/parameter_image.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace zelvor::app {

// File > History…: the kept snapshots, newest first, narrowed by unit, and
// what the history could not read. A snapshot can be restored into the
// window (Enter or a double click), compared, or written as a parameter
// file. Escape closes.
class HistoryDialog : public QDialog {
    Q_OBJECT
  public:
    struct Actions {
        // Puts the image into the window.
        std::function<void(const model::ParameterImage&)> restore;
        // The file to export to, proposing this name; empty when cancelled.
        std::function<QString(const QString& proposedName)> exportPath;
        // A snapshot was written to this file (holding this image).
        std::function<void(const QString& path, const model::ParameterImage&)> exported;
        // The export file could not be written, and why.
        std::function<void(const QString& path, const QString& error)> writeFailed;
    };
    using Compare = std::function<void(const model::ParameterImage&, const QString& name)>;

    explicit HistoryDialog(Actions actions, QWidget* parent = nullptr);

    // Reads the listing anew from the history in the default folder; the
    // snapshot selected stays selected when it is still there.
    void reload();
    // The comparison the Compare button starts; without one the button is
    // hidden.
    void setCompare(Compare compare);
    // Shows every text in the language.
    void setLanguage(i18n::Language language);

    QTableView* list() const { return list_; }
    QLineEdit* unitFilter() const { return filter_; }
    QListWidget* problemList() const { return problems_; }
    QPushButton* restoreButton() const { return restore_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* compareButton() const { return compare_; }
    const HistoryListModel& model() const { return model_; }
    // The line under the list (what the last export did).
    QString note() const;

  private:
    const history::SnapshotInfo* selected() const;
    // The selected snapshot's image; nothing (and the problem listed) when
    // it cannot be read.
    std::optional<model::ParameterImage> selectedImage();
    void restoreSelected();
    void compareSelected();
    void exportSelected();
    void showProblems(const std::vector<std::string>& problems);
    void addProblem(const QString& problem);
    void enableButtons();
    static QString nameOf(const history::SnapshotInfo& snapshot);
    void showTexts();

    Actions actions_;
    Compare compareWith_;
    history::SnapshotStore store_;
    HistoryListModel model_;
    QLineEdit* filter_;
    QLabel* filterLabel_ = nullptr;
    QTableView* list_;
    QListWidget* problems_;
    QLabel* note_;
    QPushButton* restore_;
    QPushButton* export_;
    QPushButton* compare_;
    QPushButton* close_ = nullptr;
    widgets::ToolLanguage said_;
};

}  // namespace zelvor::app
