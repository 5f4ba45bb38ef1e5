#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <bitset>
#include <optional>

#include "datalog/ride_analysis.h"
#include "editing/widgets/cell_overlay.h"
#include "i18n/language.h"

namespace zelvor::ridetune {

// A set of cells for each injection map (0: map 1, 1: map 2).
using CellsPerMap = std::array<std::bitset<model::kMapCells>, 2>;

// What the overlay colours the cells by.
enum class RideView { Hits, LeanShare, Change };

// What the analysed logs say of each cell of the injection maps, over the
// map grid: a tint by the chosen view, a frame on cells that take no
// suggestion (locked, not measurable), and every figure in the tooltip. The
// advance map is left alone: the probe says nothing of the ignition.
class RideOverlay final : public widgets::CellOverlay {
  public:
    void setFindings(const datalog::RideFindings& findings,
                     const datalog::AnalysisSettings& settings);
    void clear() { findings_.reset(); }
    bool hasFindings() const { return findings_.has_value(); }
    const datalog::RideFindings* findings() const { return findings_ ? &*findings_ : nullptr; }
    // Cells changed since the logs were recorded: the log no longer speaks
    // for them.
    void setChangedSinceLog(const CellsPerMap& cells) { changed_ = cells; }
    void setView(RideView view) { view_ = view; }
    RideView view() const { return view_; }
    // The language of the cells' tooltips.
    void setLanguage(i18n::Language language) { language_ = language; }

    std::optional<widgets::CellMark> mark(editing::MapId map,
                                          editing::GridCell cell) const override;

  private:
    std::optional<datalog::RideFindings> findings_;
    datalog::AnalysisSettings settings_;
    CellsPerMap changed_{};
    RideView view_ = RideView::Change;
    i18n::Language language_ = i18n::Language::English;
};

// The colours of the views, also drawn by the legend. The share of the
// tint grows with what it shows: hits up to the minimum a cell needs, the
// lean share away from the even split, the change up to the largest step.
QColor hitsTint(double hits, double minHits);
QColor leanTint(double leanShare);
QColor changeTint(double changePercent, double maxStepPercent);

// The tooltip of a cell with samples: its figures and what became of it.
QString findingText(const datalog::CellFinding& finding, const datalog::AnalysisSettings& settings,
                    i18n::Language language);

}  // namespace zelvor::ridetune
