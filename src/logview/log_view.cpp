#include "logview/log_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "logview/decimation.h"
#include "logview/log_channels.h"

namespace zelvor::logview {

namespace {

constexpr int kPlayIntervalMs = 40;
// The narrowest and the first range shown, in seconds.
constexpr double kShortestRange = 0.5;
constexpr double kFirstRange = 120.0;
// One wheel notch shows this share of the range.
constexpr double kZoomPerNotch = 0.8;
// Page Up/Down move the cursor by this many rows.
constexpr int kPageRows = 50;

using T = i18n::ToolText;

}  // namespace

void LogView::setLanguage(i18n::Language language) {
    if (!said_.change(language)) return;
    showTexts();
}

void LogView::showTexts() {
    showTitle();
    playButton_->setText(said_(playing() ? T::LogPause : T::LogPlay));
    playButton_->setToolTip(said_(T::LogPlayHint));
    liveButton_->setText(said_(T::LogLive));
    liveButton_->setToolTip(said_(T::LogLiveHint));
    hint_->setText(said_(T::LogHelp));
    showTime();
}

void LogView::showTitle() {
    setWindowTitle(title_.isEmpty() ? said_(T::LogTitle) : said_(T::LogTitleNamed).arg(title_));
}

LogView::LogView(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("LogView"));
    setFocusPolicy(Qt::StrongFocus);
    resize(1000, 700);

    auto* bar = new QHBoxLayout;
    playButton_ = new QPushButton(this);
    playButton_->setObjectName(QStringLiteral("LogPlay"));
    playButton_->setFocusPolicy(Qt::NoFocus);
    connect(playButton_, &QPushButton::clicked, this, [this] { setPlaying(!playing()); });
    speedBox_ = new QComboBox(this);
    speedBox_->setObjectName(QStringLiteral("LogSpeed"));
    speedBox_->setFocusPolicy(Qt::NoFocus);
    for (int factor : kSpeeds) speedBox_->addItem(QStringLiteral("%1\u00d7").arg(factor), factor);
    connect(speedBox_, &QComboBox::activated, this,
            [this](int index) { setSpeed(speedBox_->itemData(index).toInt()); });
    liveButton_ = new QPushButton(this);
    liveButton_->setObjectName(QStringLiteral("LogLive"));
    liveButton_->setFocusPolicy(Qt::NoFocus);
    connect(liveButton_, &QPushButton::clicked, this, &LogView::endReplay);
    timeLabel_ = new QLabel(this);
    timeLabel_->setObjectName(QStringLiteral("LogTime"));
    bar->addWidget(playButton_);
    bar->addWidget(speedBox_);
    bar->addWidget(liveButton_);
    bar->addWidget(timeLabel_, 1);
    hint_ = new QLabel(this);
    bar->addWidget(hint_);

    picker_ = new QListWidget(this);
    picker_->setObjectName(QStringLiteral("LogChannels"));
    picker_->setFocusPolicy(Qt::ClickFocus);
    picker_->setMaximumWidth(260);
    buildPicker();
    connect(picker_, &QListWidget::itemChanged, this, &LogView::pickerChanged);

    auto* chartsBox = new QWidget(this);
    chartsLayout_ = new QVBoxLayout(chartsBox);
    chartsLayout_->setContentsMargins(0, 0, 0, 0);
    chartsLayout_->setSpacing(0);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(picker_);
    splitter->addWidget(chartsBox);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    playTimer_.setInterval(kPlayIntervalMs);
    connect(&playTimer_, &QTimer::timeout, this, &LogView::playStep);
    setChannels(defaultChannels());
    showTexts();
}

void LogView::buildPicker() {
    buildingPicker_ = true;
    for (const link::ChannelSpec& spec : link::monitorChannels()) {
        auto* item = new QListWidgetItem(channelTitle(spec.channel), picker_);
        item->setData(Qt::UserRole, static_cast<int>(spec.channel));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    buildingPicker_ = false;
}

void LogView::pickerChanged(QListWidgetItem*) {
    if (buildingPicker_) return;
    std::vector<link::MonitorChannel> chosen;
    for (int i = 0; i < picker_->count(); ++i) {
        if (picker_->item(i)->checkState() == Qt::Checked) {
            chosen.push_back(
                static_cast<link::MonitorChannel>(picker_->item(i)->data(Qt::UserRole).toInt()));
        }
    }
    setChannels(chosen);
}

void LogView::setChannels(const std::vector<link::MonitorChannel>& channels) {
    shown_.clear();
    for (link::MonitorChannel channel : channels) {
        Shown shown{channel, {}, 0.0, 0.0};
        if (rows_ != nullptr) shown.values = channelValues(*rows_, channel);
        measure(shown);
        shown_.push_back(std::move(shown));
    }
    buildingPicker_ = true;
    for (int i = 0; i < picker_->count(); ++i) {
        const auto channel =
            static_cast<link::MonitorChannel>(picker_->item(i)->data(Qt::UserRole).toInt());
        const bool on = std::find(channels.begin(), channels.end(), channel) != channels.end();
        picker_->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    buildingPicker_ = false;
    rebuildCharts();
}

std::vector<link::MonitorChannel> LogView::channels() const {
    std::vector<link::MonitorChannel> channels;
    for (const Shown& shown : shown_) channels.push_back(shown.channel);
    return channels;
}

void LogView::measure(Shown& shown) {
    bool any = false;
    for (double v : shown.values) {
        if (std::isnan(v)) continue;
        if (!any || v < shown.lowest) shown.lowest = v;
        if (!any || v > shown.highest) shown.highest = v;
        any = true;
    }
    if (!any) shown.lowest = shown.highest = 0.0;
}

void LogView::rebuildCharts() {
    for (StripChart* chart : charts_) delete chart;
    charts_.clear();
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        auto* chart = new StripChart(channelTitle(shown_[i].channel), shown_[i].lowest,
                                     shown_[i].highest, marks_, i == 0);
        chart->setObjectName(QStringLiteral("LogChart%1").arg(i));
        connect(chart, &StripChart::zoomRequested, this, &LogView::zoom);
        connect(chart, &StripChart::panRequested, this, &LogView::pan);
        connect(chart, &StripChart::timeClicked, this, [this](double time) {
            setFocus(Qt::MouseFocusReason);
            placeCursorAt(time);
        });
        chartsLayout_->addWidget(chart, 1);
        charts_.push_back(chart);
    }
    redraw();
}

void LogView::setRows(const std::vector<datalog::LogRow>* rows, const QString& title) {
    setPlaying(false);
    rows_ = rows;
    cursor_ = -1;
    marks_.cursor = -1.0;
    title_ = title;
    showTitle();
    rowsReplaced();
}

void LogView::rowsReplaced() {
    times_ = rows_ != nullptr ? rowTimes(*rows_) : std::vector<double>{};
    if (cursor_ >= static_cast<int>(times_.size())) cursor_ = -1;
    collectMarkers();
    from_ = firstTime();
    to_ = std::min(lastTime(), from_ + kFirstRange);
    if (to_ - from_ < kShortestRange) to_ = from_ + kShortestRange;
    setChannels(channels());
    showTime();
}

void LogView::rowsAppended() {
    if (rows_ == nullptr || rows_->size() < times_.size()) {
        rowsReplaced();
        return;
    }
    const std::size_t before = times_.size();
    const bool followingEnd = to_ >= (before > 0 ? times_.back() : 0.0);
    for (std::size_t i = before; i < rows_->size(); ++i) {
        const datalog::LogRow& row = (*rows_)[i];
        times_.push_back(static_cast<double>(row.timeMs) / 1000.0);
        if (!row.marker.empty()) {
            marks_.markers.push_back({times_.back(), QString::fromStdString(row.marker)});
        }
        for (Shown& shown : shown_) {
            const auto c = static_cast<std::size_t>(shown.channel);
            const double scale = std::pow(10.0, -link::channelSpec(shown.channel).decimals);
            const double v = row.error[c] ? std::nan("") : row.values[c] * scale;
            shown.values.push_back(v);
        }
    }
    for (Shown& shown : shown_) measure(shown);
    // A view that showed the newest rows goes on showing them.
    if (followingEnd && !times_.empty() && times_.back() > to_) {
        const double span = to_ - from_;
        to_ = times_.back();
        from_ = std::max(firstTime(), to_ - span);
    }
    // The value ranges may have grown.
    for (std::size_t i = 0; i < charts_.size() && i < shown_.size(); ++i) {
        charts_[i]->setValueRange(shown_[i].lowest, shown_[i].highest);
    }
    redraw();
    showTime();
}

void LogView::collectMarkers() {
    marks_.markers.clear();
    if (rows_ == nullptr) return;
    for (std::size_t i = 0; i < rows_->size(); ++i) {
        const std::string& text = (*rows_)[i].marker;
        if (!text.empty()) marks_.markers.push_back({times_[i], QString::fromStdString(text)});
    }
}

double LogView::firstTime() const {
    return times_.empty() ? 0.0 : times_.front();
}

double LogView::lastTime() const {
    return times_.empty() ? 0.0 : times_.back();
}

void LogView::setVisibleRange(double from, double to) {
    double span = std::max(to - from, kShortestRange);
    const double whole = std::max(lastTime() - firstTime(), kShortestRange);
    span = std::min(span, whole);
    from = std::clamp(from, firstTime(), std::max(firstTime(), firstTime() + whole - span));
    from_ = from;
    to_ = from + span;
    redraw();
}

void LogView::redraw() {
    // The value labels differ in width: the plots share the widest.
    double left = 0.0;
    for (StripChart* chart : charts_) left = std::max(left, chart->plotLeft());
    for (StripChart* chart : charts_) chart->alignPlotLeft(left);
    for (std::size_t i = 0; i < charts_.size() && i < shown_.size(); ++i) {
        StripChart* chart = charts_[i];
        chart->show(decimate(times_, shown_[i].values, from_, to_, chart->plotColumns()), from_,
                    to_);
    }
}

void LogView::zoom(double aroundTime, int notches) {
    const double factor = std::pow(kZoomPerNotch, notches);
    const double from = aroundTime - (aroundTime - from_) * factor;
    const double to = aroundTime + (to_ - aroundTime) * factor;
    setVisibleRange(from, to);
}

void LogView::pan(double seconds) {
    setVisibleRange(from_ + seconds, to_ + seconds);
}

void LogView::placeCursorAt(double time) {
    if (times_.empty()) return;
    const auto it = std::lower_bound(times_.begin(), times_.end(), time);
    auto row = static_cast<int>(it - times_.begin());
    if (row >= static_cast<int>(times_.size()) ||
        (row > 0 && time - times_[row - 1] < times_[row] - time)) {
        --row;
    }
    setCursorRow(row);
}

void LogView::setCursorRow(int row) {
    if (times_.empty()) return;
    row = std::clamp(row, 0, static_cast<int>(times_.size()) - 1);
    cursor_ = row;
    marks_.cursor = times_[row];
    keepCursorVisible();
    for (StripChart* chart : charts_) chart->viewport()->update();
    showTime();
    emit rowShown(row);
}

void LogView::stepCursor(int rows) {
    if (times_.empty()) return;
    if (cursor_ < 0) {
        // The first step puts the cursor into the visible range.
        const auto it = std::lower_bound(times_.begin(), times_.end(), from_);
        setCursorRow(static_cast<int>(it - times_.begin()));
        return;
    }
    setCursorRow(cursor_ + rows);
}

void LogView::keepCursorVisible() {
    const double t = marks_.cursor;
    if (t >= from_ && t <= to_) return;
    const double span = to_ - from_;
    // The cursor comes in near the side it leaves from.
    if (t > to_) {
        setVisibleRange(t - span * 0.9, t + span * 0.1);
    } else {
        setVisibleRange(t - span * 0.1, t + span * 0.9);
    }
}

void LogView::setPlaying(bool play) {
    if (play == playing()) return;
    if (play) {
        if (times_.empty()) return;
        if (cursor_ < 0 || cursor_ + 1 >= static_cast<int>(times_.size())) stepCursor(0);
        if (cursor_ + 1 >= static_cast<int>(times_.size())) setCursorRow(0);
        playTime_ = times_[cursor_];
        playClock_.start();
        playTimer_.start();
    } else {
        playTimer_.stop();
    }
    playButton_->setText(said_(play ? T::LogPause : T::LogPlay));
}

void LogView::setSpeed(int factor) {
    speed_ = factor;
    const int index = speedBox_->findData(factor);
    if (index >= 0) speedBox_->setCurrentIndex(index);
}

void LogView::playStep() {
    playTime_ += static_cast<double>(playClock_.restart()) / 1000.0 * speed_;
    const auto it = std::upper_bound(times_.begin(), times_.end(), playTime_);
    const int row = std::max(0, static_cast<int>(it - times_.begin()) - 1);
    if (row != cursor_) setCursorRow(row);
    if (row + 1 >= static_cast<int>(times_.size())) setPlaying(false);
}

void LogView::endReplay() {
    setPlaying(false);
    const bool wasShowing = cursor_ >= 0;
    cursor_ = -1;
    marks_.cursor = -1.0;
    for (StripChart* chart : charts_) chart->viewport()->update();
    showTime();
    if (wasShowing) emit replayEnded();
}

void LogView::showTime() {
    if (cursor_ < 0 || rows_ == nullptr) {
        timeLabel_->setText(said_(T::LogRows).arg(times_.size()));
        return;
    }
    QString shown =
        said_(T::LogPosition).arg(times_[cursor_], 0, 'f', 2).arg(cursor_ + 1).arg(times_.size());
    const std::string& marker = (*rows_)[cursor_].marker;
    if (!marker.empty()) shown += QStringLiteral("  \u2014 ") + QString::fromStdString(marker);
    timeLabel_->setText(shown);
}

void LogView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            stepCursor(-1);
            break;
        case Qt::Key_Right:
            stepCursor(+1);
            break;
        case Qt::Key_PageUp:
            stepCursor(-kPageRows);
            break;
        case Qt::Key_PageDown:
            stepCursor(+kPageRows);
            break;
        case Qt::Key_Home:
            setCursorRow(0);
            break;
        case Qt::Key_End:
            setCursorRow(static_cast<int>(times_.size()) - 1);
            break;
        case Qt::Key_Space:
            setPlaying(!playing());
            break;
        case Qt::Key_Escape:
            endReplay();
            break;
        case Qt::Key_Plus:
            zoom(cursor_ >= 0 ? marks_.cursor : (from_ + to_) / 2, 1);
            break;
        case Qt::Key_Minus:
            zoom(cursor_ >= 0 ? marks_.cursor : (from_ + to_) / 2, -1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void LogView::closeEvent(QCloseEvent* event) {
    endReplay();
    QWidget::closeEvent(event);
}

void LogView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The number of pixel columns changed: decimate anew once laid out.
    QTimer::singleShot(0, this, &LogView::redraw);
}

}  // namespace zelvor::logview
