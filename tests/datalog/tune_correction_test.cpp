// Laying suggested changes into a tune as the map pages collect them.
#include <gtest/gtest.h>

#include "datalog/tune_correction.h"
#include "model/default_set.h"
#include "model/injection.h"

namespace zelvor::datalog {
namespace {

using model::Field;
using model::InjectionMap;

constexpr std::size_t kCell = 4 * 15 + 3;
constexpr std::size_t kOther = 2 * 15 + 9;

model::ParameterImage tune(model::CouplingMode mode) {
    model::ParameterImage image;
    model::loadDefaultSet(image);
    image.set(Field::JET1_MISC_Jet123Mode, static_cast<unsigned>(mode));
    return image;
}

// Findings that ask for `percent` more fuel in one cell of both maps.
RideFindings asking(double percent, std::size_t cell = kCell) {
    RideFindings findings;
    for (auto& map : findings.maps) {
        map[cell].verdict = CellVerdict::Change;
        map[cell].changePercent = percent;
        map[cell].hits = 50;
    }
    return findings;
}

model::CellPercents percentsOf(const model::ParameterImage& image, InjectionMap map) {
    model::InjectionScaling scaling;
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    scaling.readPercents(map, image);
    return scaling.percents(map);
}

TEST(TuneCorrection, SeparateMapsTakeTheirOwnChangesAndKeepEveryOtherTimeExactly) {
    model::ParameterImage image = tune(model::CouplingMode::Separate);
    // A time that is no whole percent of its base time stays exactly as it is.
    const unsigned odd = image.get(Field::JET_1A_Cell, kOther) + 3;
    image.set(Field::JET_1A_Cell, kOther, odd);
    const CorrectionPlan plan = planCorrection(image, asking(8.0), CorrectedMaps::Map1);
    EXPECT_EQ(plan.changedCells, 1);
    EXPECT_EQ(plan.before[0][kCell], 100);
    EXPECT_EQ(plan.after[0][kCell], 108);
    EXPECT_EQ(plan.after[1], plan.before[1]) << "map 2 not chosen";
    const model::ParameterImage corrected = applyCorrection(image, plan);
    EXPECT_EQ(percentsOf(corrected, InjectionMap::Jet1A)[kCell], 108);
    EXPECT_EQ(corrected.get(Field::JET_1A_Cell, kOther), odd);
    EXPECT_EQ(corrected.get(Field::JET_2A_Cell, kCell), image.get(Field::JET_2A_Cell, kCell));

    const CorrectionPlan both = planCorrection(image, asking(-5.0), CorrectedMaps::Both);
    EXPECT_EQ(both.changedCells, 2);
    const model::ParameterImage lowered = applyCorrection(image, both);
    EXPECT_EQ(percentsOf(lowered, InjectionMap::Jet2A)[kCell], 95);
    EXPECT_EQ(percentsOf(lowered, InjectionMap::Jet1A)[kCell], 95);
}

TEST(TuneCorrection, CoupledMapTwoMovesByTheSamePointsAsMapOne) {
    model::ParameterImage image = tune(model::CouplingMode::Coupled);
    // Map 2 at 120 % in the cell: it follows map 1's change of 8 points.
    model::InjectionScaling scaling;
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    image.set(Field::JET_2A_Cell, kCell,
              model::wordFromPercent(120, scaling.baseTimes(InjectionMap::Jet2A)[kCell]));
    const CorrectionPlan plan = planCorrection(image, asking(8.0), CorrectedMaps::Both);
    EXPECT_EQ(plan.changedCells, 1) << "map 2 takes no suggestion of its own while coupled";
    const model::ParameterImage corrected = applyCorrection(image, plan);
    EXPECT_EQ(percentsOf(corrected, InjectionMap::Jet1A)[kCell], 108);
    EXPECT_EQ(percentsOf(corrected, InjectionMap::Jet2A)[kCell], 128);
    EXPECT_EQ(corrected.get(Field::JET_2A_Cell, kOther), image.get(Field::JET_2A_Cell, kOther));
}

TEST(TuneCorrection, EqualMapsCopyMapOne) {
    const model::ParameterImage image = tune(model::CouplingMode::Same);
    const model::ParameterImage corrected =
        applyCorrection(image, planCorrection(image, asking(5.0), CorrectedMaps::Map2));
    EXPECT_EQ(corrected, image) << "map 2 alone takes nothing while it equals map 1";
    const model::ParameterImage raised =
        applyCorrection(image, planCorrection(image, asking(5.0), CorrectedMaps::Map1));
    EXPECT_EQ(raised.get(Field::JET_2A_Cell, kCell), raised.get(Field::JET_1A_Cell, kCell));
    EXPECT_NE(raised.get(Field::JET_1A_Cell, kCell), image.get(Field::JET_1A_Cell, kCell));
}

TEST(TuneCorrection, CellsStayWithinTheMapsLimitsAndTheSelection) {
    model::ParameterImage image = tune(model::CouplingMode::Separate);
    model::InjectionScaling scaling;
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    image.set(Field::JET_1A_Cell, kCell,
              model::wordFromPercent(990, scaling.baseTimes(InjectionMap::Jet1A)[kCell]));
    const CorrectionPlan plan = planCorrection(image, asking(5.0), CorrectedMaps::Map1);
    EXPECT_EQ(plan.after[0][kCell], model::kMaxEditedPercent);
    const model::ParameterImage corrected = applyCorrection(image, plan);
    EXPECT_LE(corrected.get(Field::JET_1A_Cell, kCell), 60000u) << "the range rules hold";

    std::bitset<model::kMapCells> selection;
    selection[kOther] = true;
    EXPECT_EQ(planCorrection(image, asking(5.0), CorrectedMaps::Map1, selection).changedCells, 0);
    selection[kCell] = true;
    EXPECT_EQ(planCorrection(image, asking(5.0), CorrectedMaps::Map1, selection).changedCells, 1);

    RideFindings notMeasurable = asking(5.0);
    notMeasurable.maps[0][kCell].verdict = CellVerdict::NotMeasurable;
    EXPECT_EQ(planCorrection(image, notMeasurable, CorrectedMaps::Map1).changedCells, 0);
}

}  // namespace
}  // namespace zelvor::datalog
