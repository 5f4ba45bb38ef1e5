#include "app/link_presenter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <array>
#include <string>

#include "editing/widgets/colours.h"

namespace zelvor::app {

namespace {

using link::HighlightGroup;

// Where each highlight group lives: a run-time array (name[i]) or numbered
// single controls (name + (i + first)). Groups whose controls do not exist yet
// find nothing and are skipped.
struct GroupControls {
    HighlightGroup group;
    const char* name;
    bool array;
    int first;
};

constexpr std::array<GroupControls, 23> kGroupControls = {{
    {HighlightGroup::MapAxisEdits, "EditRpm_Uni", true, 0},
    {HighlightGroup::MapRowLabels, "LabelTpsRow_Uni", true, 0},
    {HighlightGroup::MapCells, "EditCell_Uni", true, 0},
    {HighlightGroup::PositionAxisEdits, "EditPolohaARpm", true, 0},
    {HighlightGroup::PositionAngleEdits, "EditPolohaAAngle", true, 0},
    {HighlightGroup::CoolantInjectionEdits, "EditKorVoda", true, 0},
    {HighlightGroup::CoolantAdvanceEdits, "EditIgnVoda", true, 0},
    {HighlightGroup::AirInjectionEdits, "EditKorVzduch", true, 0},
    {HighlightGroup::RaceShiftLight1Edits, "EditPilotLight1", true, 0},
    {HighlightGroup::RaceShiftLight2Edits, "EditPilotLight2", true, 0},
    {HighlightGroup::RaceClutchTimeEdits, "EditClutchTime", true, 0},
    {HighlightGroup::RaceClutchPauses, "EditClutchPause", true, 0},
    {HighlightGroup::RaceGearLabels, "LabelRaceGear", false, 1},
    {HighlightGroup::GearRatioEdits, "EditPomerRpmSpeed", true, 0},
    {HighlightGroup::GearRatioLabels, "LabelPomerRpmSpeed", false, 1},
    {HighlightGroup::GearButtons, "ButtonGear", false, 1},
    {HighlightGroup::GearAutoRatioLabels, "LabelMonPomerRpmSpeedAuto", false, 1},
    {HighlightGroup::GearAutoLabels, "LabelMonGearAuto", false, 1},
    {HighlightGroup::GearCorrectionAdvanceEdits, "EditGearKorAdv", true, 0},
    {HighlightGroup::GearCorrectionInjectionEdits, "EditGearKorJet", true, 0},
    {HighlightGroup::GearCorrectionLabels, "LabelGearKor", false, 1},
    {HighlightGroup::StartTimePoints, nullptr, false, 0},
    {HighlightGroup::StartCorrectionPoints, nullptr, false, 0},
}};

// The after-start points mix labels and edits.
std::string startPointName(HighlightGroup group, int index) {
    if (group == HighlightGroup::StartTimePoints) {
        return index == 0 ? "LabelSyticCas0" : "EditSyticCas" + std::to_string(index);
    }
    return index == 4 ? "LabelSyticKorekce4" : "EditSyticKorekce" + std::to_string(index);
}

QWidget* groupControl(const widgets::ControlRegistry& registry, const GroupControls& entry,
                      int index) {
    if (entry.name == nullptr) return registry.find<QWidget>(startPointName(entry.group, index));
    if (entry.array) return registry.find<QWidget>(entry.name, index);
    return registry.find<QWidget>(entry.name + std::to_string(index + entry.first));
}

const GroupControls* findGroup(HighlightGroup group) {
    for (const GroupControls& entry : kGroupControls) {
        if (entry.group == group) return &entry;
    }
    return nullptr;
}

void setBold(QWidget* widget, bool bold) {
    if (widget == nullptr || widget->font().bold() == bold) return;
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setVisible(QWidget* widget, bool visible) {
    if (widget != nullptr && widget->isVisibleTo(widget->parentWidget()) != visible) {
        widget->setVisible(visible);
    }
}

}  // namespace

void LinkPresenter::showTransfer(const link::TransferEngine& engine, bool printing) {
    const link::StatusLabel& status = engine.statusLabel();
    auto* label = registry_.find<QWidget>("LabelHlaseni");
    if (!printing) {
        widgets::setLabelText(label, QString::fromStdString(status.text));
        widgets::setBackground(label, status.background);
        setVisible(label, status.visible);
    }
    auto* gauge = registry_.find<QProgressBar>("CGaugeProgram");
    widgets::setGaugeProgress(gauge, engine.gauge().progress);
    if (!printing) setVisible(gauge, engine.gauge().visible);
    setVisible(registry_.find<QWidget>("LabelSpojeni"), engine.noConnectionVisible() && !printing);
    setVisible(registry_.find<QWidget>("LabelVersion"), engine.versionLabelVisible());
}

void LinkPresenter::showMonitor(const link::MonitorView& view) {
    for (std::size_t i = 0; i < view.labels.size(); ++i) {
        const link::LabelView& wanted = view.labels[i];
        const link::LabelView* before = lastView_ ? &lastView_->labels[i] : nullptr;
        auto* label = registry_.find<QWidget>(controlName(static_cast<link::MonitorLabel>(i)));
        if (label == nullptr) continue;
        if (before == nullptr || before->text != wanted.text) {
            widgets::setLabelText(label, QString::fromStdString(wanted.text));
        }
        if (before == nullptr || before->background != wanted.background) {
            widgets::setBackground(label, wanted.background);
        }
        if (wanted.visible) setVisible(label, *wanted.visible);
    }
    for (std::size_t i = 0; i < view.gauges.size(); ++i) {
        auto* gauge = registry_.find<QProgressBar>(controlName(static_cast<link::MonitorGauge>(i)));
        widgets::setGaugeProgress(gauge, view.gauges[i].progress);
        if (view.gauges[i].fore) widgets::setGaugeColour(gauge, *view.gauges[i].fore);
    }
    for (std::size_t i = 0; i < view.edits.size(); ++i) {
        const bool changed = !lastView_ || lastView_->edits[i] != view.edits[i];
        if (changed) {
            widgets::setBackground(
                registry_.find<QWidget>(controlName(static_cast<link::MonitorEdit>(i))),
                view.edits[i]);
        }
    }
    lastView_ = view;
}

void LinkPresenter::showHighlight(const link::PageHighlight& highlight) {
    for (const link::GroupHighlight& group : highlight.groups) {
        const GroupControls* entry = findGroup(group.group);
        if (entry == nullptr) continue;
        for (int i = 0; i < link::groupSize(group.group); ++i) {
            QWidget* control = groupControl(registry_, *entry, i);
            if (group.group == HighlightGroup::GearButtons) {
                setBold(control, i == group.lit);
            } else {
                widgets::setBackground(control, group.colour(i));
            }
            if (group.group == HighlightGroup::MapCells) {
                // The ms labels take their cell's colour, on the button face
                // where the cell has the window colour.
                const link::Colour cell = group.colour(i);
                widgets::setBackground(
                    registry_.find<QWidget>("LabelMs_Uni", i),
                    cell == link::Colour::Window ? link::Colour::ButtonFace : cell);
            }
        }
    }
}

}  // namespace zelvor::app
