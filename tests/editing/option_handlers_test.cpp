#include "editing/option_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "editing/page_bindings.h"
#include "fake_controls.h"
#include "model/field_table.h"
#include "pipeline_fixture.h"

namespace zelvor::editing {
namespace {

using model::Field;
using testing::blocksOf;
using testing::FakeControls;
using testing::FakeWindow;

class OptionHandlersTest : public ::testing::Test {
  protected:
    FakeWindow window;
    ChangePipeline pipeline{window.image};
    OptionHandlers handlers{window.image, pipeline, window.state, window.pageSteps()};

    void SetUp() override { (void)pipeline.initialise(window.state); }

    static const Binding& binding(std::string_view control) { return *findBinding(control); }
};

TEST_F(OptionHandlersTest, EditsAndCheckBoxesRunTheirStepsInOrder) {
    (void)handlers.commitEdit();
    EXPECT_EQ(window.events, (std::vector<std::string>{"collect", "refresh", "refresh"}));
    window.events.clear();
    (void)handlers.checkBoxReleased();
    EXPECT_EQ(window.events, (std::vector<std::string>{"collect", "view", "refresh", "refresh"}));
    window.events.clear();
    handlers.memoKeyPressed();
    EXPECT_EQ(window.events, std::vector<std::string>{"collect"});
}

TEST_F(OptionHandlersTest, DirectRadioGroupWritesItsFieldAndRecordsOnly) {
    window.image.set(Field::N2O_GasT, 0);  // out of range, must stay: no sanitize
    const ChangeOutcome outcome =
        handlers.directRadioGroupClicked(binding("RadioGroupPinBody11"), 1);
    EXPECT_EQ(window.image.byte(40), 1);
    EXPECT_EQ(window.image.get(Field::N2O_GasT), 0);
    EXPECT_TRUE(window.events.empty());
    EXPECT_TRUE(outcome.enabling && outcome.enabling->canUndo);

    (void)handlers.directRadioGroupClicked(binding("RadioGroupPolohaA"), 2);
    EXPECT_EQ(window.image.byte(56), 2);
    (void)handlers.directRadioGroupClicked(binding("RadioGroupPolohaA"), -1);
    EXPECT_EQ(window.image.byte(56), 2);
}

TEST_F(OptionHandlersTest, ModeGroupCopiesAllFourThenUpdatesTheView) {
    FakeControls controls;
    controls.setItemIndex(binding("RadioGroupGearSystem"), 2);
    controls.setItemIndex(binding("RadioGroupClutchMode"), 1);
    controls.setItemIndex(binding("RadioGroupSpeedMode"), 1);
    controls.setItemIndex(binding("RadioGroupIdleMode"), 2);
    window.state.programAfterChange = true;
    const ChangeOutcome outcome = handlers.modeRadioGroupClicked(controls);
    EXPECT_EQ(window.image.get(Field::GEAR_GearSystem), 2);
    EXPECT_EQ(window.image.get(Field::CLUTCH_ClutchMode), 1);
    EXPECT_EQ(window.image.get(Field::SPEED_PULSES_SpeedMode), 1);
    EXPECT_EQ(window.image.get(Field::IDLE_IdleMode), 2);
    EXPECT_EQ(window.events, std::vector<std::string>{"view"});
    EXPECT_EQ(blocksOf(outcome.changedBlocks), (std::vector<int>{1, 2}));
    EXPECT_TRUE(outcome.startProgramming);
}

// The window wires its mode groups from the same rows the handler copies:
// the four mode groups, each a radio group writing a field of its own.
TEST(ModeRadioGroups, EachNamesARadioGroupOfItsOwnField) {
    std::vector<Field> fields;
    const std::vector<std::string_view> groups = controlsCommittingOn(Commit::ModeRadio);
    EXPECT_EQ(groups.size(), 4u);
    for (std::string_view name : groups) {
        const Binding* group = findBinding(name);
        ASSERT_NE(group, nullptr) << name;
        EXPECT_EQ(group->kind, ControlKind::RadioGroup) << name;
        EXPECT_EQ(std::count(fields.begin(), fields.end(), group->field), 0) << name;
        fields.push_back(group->field);
    }
}

TEST_F(OptionHandlersTest, GearLearningStoresTheLiveRatioOnlyWhenGearsGoByRatio) {
    window.image.set(Field::GEAR_GearSystem, 0);
    (void)handlers.gearButtonClicked(3, 0x1234);
    EXPECT_EQ(window.image.byte(166), 0x34);
    EXPECT_EQ(window.image.byte(167), 0x12);
    (void)handlers.gearButtonClicked(6, 0xABCD);
    EXPECT_EQ(window.image.word(172), 0xABCD);
    EXPECT_EQ(window.events.size(), 4u);  // the pipeline ran twice

    window.image.set(Field::GEAR_GearSystem, 1);
    (void)handlers.recordSnapshot();
    window.events.clear();
    (void)handlers.gearButtonClicked(3, 0x5555);
    EXPECT_EQ(window.image.word(166), 0x1234);
    EXPECT_EQ(window.events, (std::vector<std::string>{"refresh", "refresh"}));

    window.image.set(Field::GEAR_GearSystem, 0);
    const auto before = window.image;
    (void)handlers.gearButtonClicked(7, 0x5555);  // no such gear
    EXPECT_EQ(window.image, before);
}

}  // namespace
}  // namespace zelvor::editing
