#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "datalog/log_row.h"
#include "editing/widgets/tool_text.h"
#include "link/monitor_channels.h"
#include "logview/strip_chart.h"

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QVBoxLayout;

namespace zelvor::logview {

// A ride log as stacked strip charts over one time axis: a picker of the
// channels, zoom (wheel) and pan (drag), a time cursor (click, arrow keys),
// the markers as vertical lines with their comment, and playback at 1x, 4x
// or 16x (Space). Whatever row the cursor is on is announced, so the window
// can show it as if the engine ran; Escape, the Live button or closing the
// view hand the display back.
class LogView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSpeeds[] = {1, 4, 16};

    explicit LogView(QWidget* parent = nullptr);

    // The rows to show; they must live as long as the view shows them.
    void setRows(const std::vector<datalog::LogRow>* rows, const QString& title);
    // Rows were appended to the ones shown (a recording grows).
    void rowsAppended();
    // Rows were replaced as a whole.
    void rowsReplaced();
    // Shows every text in the language.
    void setLanguage(i18n::Language language);

    void setChannels(const std::vector<link::MonitorChannel>& channels);
    std::vector<link::MonitorChannel> channels() const;

    int cursorRow() const { return cursor_; }
    void setCursorRow(int row);
    bool playing() const { return playTimer_.isActive(); }
    void setPlaying(bool playing);
    int speed() const { return speed_; }
    void setSpeed(int factor);
    double visibleFrom() const { return from_; }
    double visibleTo() const { return to_; }
    void setVisibleRange(double from, double to);
    const std::vector<StripChart*>& charts() const { return charts_; }
    // Recomputes and repaints every chart for the visible range.
    void redraw();
    // Leaves replay: no cursor, no playback; the display goes back.
    void endReplay();

  signals:
    // The cursor (or playback) is on this row now.
    void rowShown(int row);
    // No row is shown any longer.
    void replayEnded();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Shown {
        link::MonitorChannel channel;
        std::vector<double> values;
        double lowest = 0.0;
        double highest = 0.0;
    };

    void buildPicker();
    void pickerChanged(QListWidgetItem* item);
    void rebuildCharts();
    void collectMarkers();
    void zoom(double aroundTime, int notches);
    void pan(double seconds);
    void placeCursorAt(double time);
    void stepCursor(int rows);
    void playStep();
    void keepCursorVisible();
    void showTime();
    void showTexts();
    void showTitle();
    double firstTime() const;
    double lastTime() const;
    static void measure(Shown& shown);

    const std::vector<datalog::LogRow>* rows_ = nullptr;
    std::vector<double> times_;
    std::vector<Shown> shown_;
    std::vector<StripChart*> charts_;
    ChartMarks marks_;
    double from_ = 0.0;
    double to_ = 1.0;
    int cursor_ = -1;
    int speed_ = 1;
    QTimer playTimer_;
    QElapsedTimer playClock_;
    double playTime_ = 0.0;
    bool buildingPicker_ = false;

    QListWidget* picker_ = nullptr;
    QVBoxLayout* chartsLayout_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QComboBox* speedBox_ = nullptr;
    QPushButton* liveButton_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* hint_ = nullptr;
    QString title_;
    widgets::ToolLanguage said_;
};

}  // namespace zelvor::logview
