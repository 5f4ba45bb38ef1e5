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
#include <span>

#include "datalog/analysis_setting_table.h"
#include "editing/widgets/tool_text.h"

namespace zelvor::ridetune {

namespace {

constexpr int kSettleMs = 250;

using T = i18n::ToolText;

struct ViewEntry {
    RideView view;
    T text;
    T low;
    T high;
};

// The panel's label of each analysis setting, by its option; the unit
// "% throttle" is said in the language too.
struct SettingText {
    std::string_view option;
    T label;
};
constexpr SettingText kSettingTexts[] = {
    {"min-coolant", T::RideSettingCoolant},
    {"skip-after-start", T::RideSettingSkip},
    {"max-tps-rate", T::RideSettingThrottleRate},
    {"delay", T::RideSettingDelay},
    {"min-hits", T::RideSettingHits},
    {"measurable-below", T::RideSettingMeasurable},
    {"target-mv", T::RideSettingTarget},
    {"max-step", T::RideSettingStep},
};
constexpr std::string_view kThrottleUnit = "% throttle";

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr ViewEntry kViews[] = {
    {RideView::Change, T::RideViewChange, T::RideLessFuel, T::RideMoreFuel},
    {RideView::LeanShare, T::RideViewLean, T::RideRich, T::RideLean},
    {RideView::Hits, T::RideViewHits, T::RideFew, T::RideEnough},
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

RideTuningPanel::RideTuningPanel(QWidget* parent) : QDockWidget(parent) {
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
    showTexts();
}

void RideTuningPanel::setLanguage(i18n::Language language) {
    if (!said_.change(language)) return;
    showTexts();
}

void RideTuningPanel::showTexts() {
    setWindowTitle(said_(T::RidePanelTitle));
    const std::span<const datalog::AnalysisSetting> settings = datalog::analysisSettings();
    for (std::size_t i = 0; i < boxes_.size() && i < settings.size(); ++i) {
        const std::string_view option = settings[i].option;
        QString label = utf8(settings[i].label);
        for (const SettingText& entry : kSettingTexts) {
            if (entry.option == option) label = said_(entry.label);
        }
        settingLabels_[i]->setText(label);
        if (settings[i].unit == kThrottleUnit) {
            boxes_[i]->setSuffix(QLatin1Char(' ') + said_(T::RideSettingThrottleUnit));
        }
        boxes_[i]->setToolTip(
            said_(T::RideOptionHint)
                .arg(QString::fromLatin1(option.data(), qsizetype(option.size()))));
    }
    for (std::size_t v = 0; v < std::size(kViews); ++v) {
        viewChoice_->setItemText(static_cast<int>(v), said_(kViews[v].text));
    }
    colourBy_->setText(said_(T::RideColourBy));
    showLegend();
    lock_->setText(said_(T::RideLock));
    lock_->setToolTip(said_(T::RideLockHint));
    unlock_->setText(said_(T::RideUnlock));
    applySelection_->setText(said_(T::RideApplySelection));
    applyAll_->setText(said_(T::RideApplyAll));
    applyAll_->setToolTip(said_(T::RideApplyAllHint));
    showSummary();
}

void RideTuningPanel::showLegend() {
    const ViewEntry& entry = kViews[std::max(0, viewChoice_->currentIndex())];
    legend_->setPixmap(legendStrip(entry.view, settings_));
    legendLow_->setText(said_(entry.low));
    legendHigh_->setText(said_(entry.high));
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
            spin->setSuffix(QLatin1Char(' ') + utf8(setting.unit));
        }
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this, &setting](double value) {
            if (!datalog::acceptsValue(setting, value)) return;
            setting.set(settings_, value);
            settle_.start();
        });
        auto* label = new QLabel(box);
        label->setBuddy(spin);
        form->addRow(label, spin);
        settingLabels_.push_back(label);
        boxes_.push_back(spin);
    }
    return box;
}

QWidget* RideTuningPanel::buildView() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    viewChoice_ = new QComboBox(box);
    for (std::size_t v = 0; v < std::size(kViews); ++v) viewChoice_->addItem(QString());
    legend_ = new QLabel(box);
    auto* ends = new QWidget(box);
    auto* endsLayout = new QHBoxLayout(ends);
    endsLayout->setContentsMargins(0, 0, 0, 0);
    legendLow_ = new QLabel(ends);
    legendHigh_ = new QLabel(ends);
    endsLayout->addWidget(legendLow_);
    endsLayout->addStretch(1);
    endsLayout->addWidget(legendHigh_);
    ends->setMaximumWidth(legendStrip(RideView::Hits, settings_).width());
    colourBy_ = new QLabel(box);
    colourBy_->setBuddy(viewChoice_);
    form->addRow(colourBy_, viewChoice_);
    form->addRow(QString(), legend_);
    form->addRow(QString(), ends);
    connect(viewChoice_, &QComboBox::currentIndexChanged, this, [this] {
        showLegend();
        emit viewChanged();
    });
    connect(this, &RideTuningPanel::settingsChanged, this, &RideTuningPanel::showLegend);
    return box;
}

QWidget* RideTuningPanel::buildActions() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* locks = new QHBoxLayout;
    lock_ = new QPushButton(box);
    unlock_ = new QPushButton(box);
    locks->addWidget(lock_);
    locks->addWidget(unlock_);
    layout->addLayout(locks);
    applySelection_ = new QPushButton(box);
    applyAll_ = new QPushButton(box);
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
    Summary shown{source, findings.rows, {0, 0}};
    for (std::size_t m = 0; m < 2; ++m) {
        for (const datalog::CellFinding& cell : findings.maps[m]) {
            shown.changes[m] += cell.verdict == datalog::CellVerdict::Change;
        }
    }
    shown_ = shown;
    showSummary();
}

void RideTuningPanel::showSummary() {
    if (!shown_) return;
    const QLocale locale = QLocale::c();
    const datalog::RowCounts& rows = shown_->rows;
    const long long left = rows.total - rows.used;
    summary_->setText(
        said_(T::RideSummary)
            .arg(shown_->source, locale.toString(rows.total), locale.toString(rows.used))
            .arg(shown_->changes[0])
            .arg(shown_->changes[1]));
    summary_->setToolTip(said_(T::RideLeftOut)
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
