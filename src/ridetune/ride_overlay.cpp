#include "ridetune/ride_overlay.h"

#include <algorithm>
#include <cmath>

#include "editing/map_selection.h"

namespace zelvor::ridetune {

namespace {

constexpr QColor kLean{0xE0, 0x30, 0x20};  // red: too little fuel
constexpr QColor kRich{0x20, 0x50, 0xE0};  // blue: too much
constexpr QColor kHits{0x20, 0x90, 0x40};  // green: samples
constexpr QColor kNoChangeFrame{0x80, 0x80, 0x80};
constexpr QColor kLockedFrame{0x70, 0x20, 0x90};
constexpr double kMostTint = 0.65;
constexpr double kLeastTint = 0.12;

QColor withShare(QColor colour, double share) {
    colour.setAlphaF(static_cast<float>(std::clamp(share, kLeastTint, kMostTint)));
    return colour;
}

QString signedPercent(double value) {
    return QStringLiteral("%1%2 %").arg(value > 0 ? "+" : "").arg(value, 0, 'f', 1);
}

}  // namespace

QColor hitsTint(double hits, double minHits) {
    const double full = minHits > 0 ? minHits : 1.0;
    return withShare(kHits, kMostTint * std::min(1.0, hits / full));
}

QColor leanTint(double leanShare) {
    const double imbalance = std::abs(leanShare - 0.5) * 2.0;
    return withShare(leanShare >= 0.5 ? kLean : kRich, kMostTint * imbalance);
}

QColor changeTint(double changePercent, double maxStepPercent) {
    const double full = maxStepPercent > 0 ? maxStepPercent : 1.0;
    // More fuel answers a lean cell: the same red.
    return withShare(changePercent >= 0 ? kLean : kRich,
                     kMostTint * std::min(1.0, std::abs(changePercent) / full));
}

QString findingText(const datalog::CellFinding& finding,
                    const datalog::AnalysisSettings& settings) {
    QString text = QStringLiteral("Hits %1, probe %2 mV, %3 % lean")
                       .arg(finding.hits, 0, 'f', 1)
                       .arg(finding.meanMv, 0, 'f', 0)
                       .arg(finding.leanShare * 100.0, 0, 'f', 0);
    switch (finding.verdict) {
        case datalog::CellVerdict::NoSamples:
            return QStringLiteral("No samples");
        case datalog::CellVerdict::TooFewHits:
            return text + QStringLiteral("\nToo few hits (%1 needed)").arg(settings.minHits);
        case datalog::CellVerdict::NotMeasurable:
            return text + QStringLiteral("\nNot measurable: throttle at %1 % or more")
                              .arg(settings.measurableBelowPercent);
        case datalog::CellVerdict::Locked:
            return text + QStringLiteral("\nLocked");
        case datalog::CellVerdict::Balanced:
            return text + QStringLiteral("\nBalanced: no change");
        case datalog::CellVerdict::Change:
            return text + QStringLiteral("\nSuggested change ") +
                   signedPercent(finding.changePercent);
    }
    return text;
}

void RideOverlay::setFindings(const datalog::RideFindings& findings,
                              const datalog::AnalysisSettings& settings) {
    findings_ = findings;
    settings_ = settings;
}

std::optional<widgets::CellMark> RideOverlay::mark(editing::MapId map,
                                                   editing::GridCell cell) const {
    if (!findings_ || map == editing::MapId::Advance) return std::nullopt;
    const model::InjectionMap injection =
        map == editing::MapId::Jet1A ? model::InjectionMap::Jet1A : model::InjectionMap::Jet2A;
    const std::size_t index = editing::cellIndex(cell.row, cell.column);
    const datalog::CellFinding& finding = findings_->cell(injection, static_cast<int>(index));
    widgets::CellMark mark;
    const std::size_t m = injection == model::InjectionMap::Jet1A ? 0 : 1;
    if (settings_.locked[m].test(index)) mark.frame = kLockedFrame;
    if (finding.verdict == datalog::CellVerdict::NoSamples) {
        if (!mark.frame) return std::nullopt;
        mark.toolTip = QStringLiteral("Locked, no samples");
        return mark;
    }
    if (finding.verdict == datalog::CellVerdict::NotMeasurable && !mark.frame) {
        mark.frame = kNoChangeFrame;
    }
    mark.toolTip = findingText(finding, settings_);
    if (changed_[m].test(index)) {
        // What the log said no longer holds: the figures stay, the verdict goes.
        mark.frame = kNoChangeFrame;
        mark.toolTip = findingText({finding.hits, finding.meanMv, finding.leanShare,
                                    datalog::CellVerdict::Balanced, 0.0},
                                   settings_)
                           .section(QLatin1Char('\n'), 0, 0) +
                       QStringLiteral("\nChanged since the log: record a new one");
        return mark;
    }
    switch (view_) {
        case RideView::Hits:
            mark.tint = hitsTint(finding.hits, settings_.minHits);
            break;
        case RideView::LeanShare:
            mark.tint = leanTint(finding.leanShare);
            break;
        case RideView::Change:
            if (finding.verdict == datalog::CellVerdict::Change) {
                mark.tint = changeTint(finding.changePercent, settings_.maxStepPercent);
            }
            break;
    }
    return mark;
}

}  // namespace zelvor::ridetune
