#include "ridetune/ride_overlay.h"

#include <algorithm>
#include <cmath>

#include "editing/map_selection.h"
#include "editing/widgets/tool_text.h"

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

QString findingText(const datalog::CellFinding& finding, const datalog::AnalysisSettings& settings,
                    i18n::Language language) {
    using T = i18n::ToolText;
    const auto said = [language](T key) { return widgets::qToolText(key, language); };
    QString text = said(T::RideCellFigures)
                       .arg(finding.hits, 0, 'f', 1)
                       .arg(finding.meanMv, 0, 'f', 0)
                       .arg(finding.leanShare * 100.0, 0, 'f', 0);
    switch (finding.verdict) {
        case datalog::CellVerdict::NoSamples:
            return said(T::RideNoSamples);
        case datalog::CellVerdict::TooFewHits:
            return text + said(T::RideTooFewHits).arg(settings.minHits);
        case datalog::CellVerdict::NotMeasurable:
            return text + said(T::RideNotMeasurable).arg(settings.measurableBelowPercent);
        case datalog::CellVerdict::Locked:
            return text + said(T::RideLocked);
        case datalog::CellVerdict::Balanced:
            return text + said(T::RideBalanced);
        case datalog::CellVerdict::Change:
            return text + said(T::RideSuggested) + signedPercent(finding.changePercent);
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
        mark.toolTip = widgets::qToolText(i18n::ToolText::RideLockedNoSamples, language_);
        return mark;
    }
    if (finding.verdict == datalog::CellVerdict::NotMeasurable && !mark.frame) {
        mark.frame = kNoChangeFrame;
    }
    mark.toolTip = findingText(finding, settings_, language_);
    if (changed_[m].test(index)) {
        // What the log said no longer holds: the figures stay, the verdict goes.
        mark.frame = kNoChangeFrame;
        mark.toolTip = findingText({finding.hits, finding.meanMv, finding.leanShare,
                                    datalog::CellVerdict::Balanced, 0.0},
                                   settings_, language_)
                           .section(QLatin1Char('\n'), 0, 0) +
                       widgets::qToolText(i18n::ToolText::RideChangedSinceLog, language_);
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
