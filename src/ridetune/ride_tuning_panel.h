#pragma once

#include <QDockWidget>
#include <QTimer>
#include <optional>
#include <vector>

#include "datalog/ride_analysis.h"
#include "editing/widgets/tool_text.h"
#include "ridetune/ride_overlay.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace zelvor::ridetune {

// The side panel of tuning from ride logs: what was analysed, the settings
// of the analysis (the same as the command line's options), what the cells
// are coloured by with its legend, locking cells, and the commands that
// apply the suggestions. It holds no image: the window analyses and applies
// on its signals, so nothing changes without the tuner's command.
class RideTuningPanel final : public QDockWidget {
    Q_OBJECT
  public:
    explicit RideTuningPanel(QWidget* parent = nullptr);

    const datalog::AnalysisSettings& settings() const { return settings_; }
    datalog::AnalysisSettings& settings() { return settings_; }
    RideView view() const;
    // Shows every text in the language, the findings shown included.
    void setLanguage(i18n::Language language);

    // Shows what the analysis found: the rows kept and left out, and how
    // many cells of each map a change is suggested for.
    void showFindings(const QString& source, const datalog::RideFindings& findings);

    QPushButton* applySelectionButton() const { return applySelection_; }
    QPushButton* applyAllButton() const { return applyAll_; }
    QPushButton* lockButton() const { return lock_; }
    QPushButton* unlockButton() const { return unlock_; }
    QDoubleSpinBox* settingBox(std::size_t index) const { return boxes_.at(index); }
    QComboBox* viewChoice() const { return viewChoice_; }
    QString summary() const;

  signals:
    // A setting changed (after typing settles): analyse again.
    void settingsChanged();
    void viewChanged();
    // Lock (true) or unlock the selected cells of the shown map.
    void lockRequested(bool lock);
    // Apply the suggestions to the selected cells of the shown map, or to
    // every measurable cell of the injection maps.
    void applyRequested(bool selectionOnly);
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* buildSettings();
    QWidget* buildView();
    QWidget* buildActions();
    void showTexts();
    void showLegend();
    void showSummary();

    datalog::AnalysisSettings settings_;
    std::vector<QDoubleSpinBox*> boxes_;
    std::vector<QLabel*> settingLabels_;
    QComboBox* viewChoice_ = nullptr;
    QLabel* legend_ = nullptr;
    QLabel* legendLow_ = nullptr;
    QLabel* legendHigh_ = nullptr;
    QLabel* colourBy_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* lock_ = nullptr;
    QPushButton* unlock_ = nullptr;
    QPushButton* applySelection_ = nullptr;
    QPushButton* applyAll_ = nullptr;
    // Typing a number changes the value key by key: analyse once it rests.
    QTimer settle_;
    widgets::ToolLanguage said_;
    // What the summary shows, to show it again in another language.
    struct Summary {
        QString source;
        datalog::RowCounts rows;
        std::array<int, 2> changes;  // cells with a suggested change, per map
    };
    std::optional<Summary> shown_;
};

}  // namespace zelvor::ridetune
