#include "ridetune/ride_tuning_panel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "datalog/analysis_setting_table.h"

namespace zelvor::ridetune {

namespace {

constexpr int kSettleMs = 250;

struct ViewEntry {
    RideView view;
    const char* text;
    const char* low;
    const char* high;
};

constexpr ViewEntry kViews[] = {
    {RideView::Change, "Suggested change", "less fuel", "more fuel"},
    {RideView::LeanShare, "Lean share", "rich", "lean"},
    {RideView::Hits, "Hits", "few", "enough"},
};

// A strip from the low to the high end of a view's tints.
QPixmap legendStrip(RideView view, const datalog::AnalysisSettings& settings) {
    constexpr int kWidth = 160;
    constexpr int kHeight = 12;
    QPixmap strip(kWidth, kHeight);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    for (int x = 0; x < kWidth; ++x) {
        const double t = x / double(kWidth - 1);  // 0..1
        QColor tint;
        switch (view) {
            case RideView::Hits:
                tint = hitsTint(t * settings.minHits, settings.minHits);
                break;
            case RideView::LeanShare:
                tint = leanTint(t);
                break;
            case RideView::Change:
                tint =
                    changeTint((t * 2.0 - 1.0) * settings.maxStepPercent, settings.maxStepPercent);
                break;
        }
        painter.setPen(tint);
        painter.drawLine(x, 0, x, kHeight - 1);
    }
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
    return strip;
}

}  // namespace

RideTuningPanel::RideTuningPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Ride tuning"), parent) {
    setObjectName(QStringLiteral("RideTuningPanel"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    summary_ = new QLabel(body);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary_);
    layout->addWidget(buildSettings());
    layout->addWidget(buildView());
    layout->addWidget(buildActions());
    layout->addStretch(1);
    setWidget(body);

    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &RideTuningPanel::settingsChanged);
}

QWidget* RideTuningPanel::buildSettings() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    for (const datalog::AnalysisSetting& setting : datalog::analysisSettings()) {
        auto* spin = new QDoubleSpinBox(box);
        spin->setDecimals(setting.whole ? 0 : 1);
        spin->setRange(setting.low, setting.high);
        spin->setValue(setting.get(settings_));
        spin->setAccelerated(true);
        if (!setting.unit.empty()) {
            spin->setSuffix(QLatin1Char(' ') +
                            QString::fromUtf8(setting.unit.data(), qsizetype(setting.unit.size())));
        }
        spin->setToolTip(
            QStringLiteral("--%1 on the command line")
                .arg(QString::fromLatin1(setting.option.data(), qsizetype(setting.option.size()))));
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this, &setting](double value) {
            if (!datalog::acceptsValue(setting, value)) return;
            setting.set(settings_, value);
            settle_.start();
        });
        form->addRow(QString::fromUtf8(setting.label.data(), qsizetype(setting.label.size())),
                     spin);
        boxes_.push_back(spin);
    }
    return box;
}

QWidget* RideTuningPanel::buildView() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    viewChoice_ = new QComboBox(box);
    for (const ViewEntry& entry : kViews) viewChoice_->addItem(QString::fromLatin1(entry.text));
    legend_ = new QLabel(box);
    auto* ends = new QWidget(box);
    auto* endsLayout = new QHBoxLayout(ends);
    endsLayout->setContentsMargins(0, 0, 0, 0);
    auto* low = new QLabel(ends);
    auto* high = new QLabel(ends);
    endsLayout->addWidget(low);
    endsLayout->addStretch(1);
    endsLayout->addWidget(high);
    ends->setMaximumWidth(legendStrip(RideView::Hits, settings_).width());
    auto* choice = new QLabel(QStringLiteral("&Colour by"), box);
    choice->setBuddy(viewChoice_);
    form->addRow(choice, viewChoice_);
    form->addRow(QString(), legend_);
    form->addRow(QString(), ends);
    const auto showLegend = [this, low, high] {
        const ViewEntry& entry = kViews[viewChoice_->currentIndex()];
        legend_->setPixmap(legendStrip(entry.view, settings_));
        low->setText(QString::fromLatin1(entry.low));
        high->setText(QString::fromLatin1(entry.high));
    };
    showLegend();
    connect(viewChoice_, &QComboBox::currentIndexChanged, this, [this, showLegend] {
        showLegend();
        emit viewChanged();
    });
    connect(this, &RideTuningPanel::settingsChanged, this, showLegend);
    return box;
}

QWidget* RideTuningPanel::buildActions() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* locks = new QHBoxLayout;
    lock_ = new QPushButton(QStringLiteral("&Lock cells"), box);
    unlock_ = new QPushButton(QStringLiteral("&Unlock cells"), box);
    lock_->setToolTip(QStringLiteral("Locked cells take no suggestion"));
    locks->addWidget(lock_);
    locks->addWidget(unlock_);
    layout->addLayout(locks);
    applySelection_ = new QPushButton(QStringLiteral("Apply to &selection"), box);
    applyAll_ = new QPushButton(QStringLiteral("&Apply to all cells"), box);
    applyAll_->setToolTip(QStringLiteral("Every measurable, unlocked cell with enough hits"));
    layout->addWidget(applySelection_);
    layout->addWidget(applyAll_);
    connect(lock_, &QPushButton::clicked, this, [this] { emit lockRequested(true); });
    connect(unlock_, &QPushButton::clicked, this, [this] { emit lockRequested(false); });
    connect(applySelection_, &QPushButton::clicked, this, [this] { emit applyRequested(true); });
    connect(applyAll_, &QPushButton::clicked, this, [this] { emit applyRequested(false); });
    return box;
}

RideView RideTuningPanel::view() const {
    return kViews[std::max(0, viewChoice_->currentIndex())].view;
}

void RideTuningPanel::showFindings(const QString& source, const datalog::RideFindings& findings) {
    int changes[2] = {0, 0};
    for (std::size_t m = 0; m < 2; ++m) {
        for (const datalog::CellFinding& cell : findings.maps[m]) {
            changes[m] += cell.verdict == datalog::CellVerdict::Change;
        }
    }
    const QLocale locale = QLocale::c();
    const datalog::RowCounts& rows = findings.rows;
    const long long left = rows.total - rows.used;
    summary_->setText(
        QStringLiteral("%1\n%2 rows, %3 used\nSuggested changes: map 1 %4 cells, map 2 %5 cells")
            .arg(source, locale.toString(rows.total), locale.toString(rows.used))
            .arg(changes[0])
            .arg(changes[1]));
    summary_->setToolTip(
        QStringLiteral("Left out: %1\ncold engine %2\njust started %3\nthrottle moving %4\nbelow "
                       "idle %5\nthrottle fault %6\nno probe reading %7")
            .arg(left)
            .arg(rows.cold)
            .arg(rows.justStarted)
            .arg(rows.throttleMoving)
            .arg(rows.belowIdle)
            .arg(rows.throttleFault)
            .arg(rows.noProbeReading));
}

QString RideTuningPanel::summary() const {
    return summary_->text();
}

void RideTuningPanel::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    emit closed();
}

}  // namespace zelvor::ridetune
