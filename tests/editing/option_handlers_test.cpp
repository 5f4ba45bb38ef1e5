#include "editing/option_handlers.h"

#include <gtest/gtest.h>

#include "editing/page_bindings.h"
#include "fake_controls.h"
#include "model/field_table.h"
#include "pipeline_fixture.h"

namespace zelvor::editing {
namespace {

using model::Field;
using testing::FakeControls;
using testing::FakeWindow;

class OptionHandlersTest : public ::testing::Test {
  protected:
    FakeWindow window;
    ChangePipeline pipeline{window.image, window.hooks()};
    OptionHandlers handlers{window.image,
                            pipeline,
                            {[this] { window.events.push_back("collect"); },
                             [this] { window.events.push_back("view"); }}};

    void SetUp() override { pipeline.initialise(); }

    static const Binding& binding(std::string_view control) { return *findBinding(control); }
};

TEST_F(OptionHandlersTest, EditsAndCheckBoxesRunTheirStepsInOrder) {
    handlers.commitEdit();
    EXPECT_EQ(window.events, (std::vector<std::string>{"collect", "refresh", "refresh"}));
    window.events.clear();
    handlers.checkBoxReleased();
    EXPECT_EQ(window.events, (std::vector<std::string>{"collect", "view", "refresh", "refresh"}));
    window.events.clear();
    handlers.memoKeyPressed();
    EXPECT_EQ(window.events, std::vector<std::string>{"collect"});
}

TEST_F(OptionHandlersTest, DirectRadioGroupWritesItsFieldAndRecordsOnly) {
    window.image.set(Field::N2O_GasT, 0);  // out of range, must stay: no sanitize
    handlers.directRadioGroupClicked(binding("RadioGroupPinBody11"), 1);
    EXPECT_EQ(window.image.byte(40), 1);
    EXPECT_EQ(window.image.get(Field::N2O_GasT), 0);
    EXPECT_TRUE(window.events.empty());
    EXPECT_TRUE(window.canUndo);

    handlers.directRadioGroupClicked(binding("RadioGroupPolohaA"), 2);
    EXPECT_EQ(window.image.byte(56), 2);
    handlers.directRadioGroupClicked(binding("RadioGroupPolohaA"), -1);
    EXPECT_EQ(window.image.byte(56), 2);
}

TEST_F(OptionHandlersTest, ModeGroupCopiesAllFourThenUpdatesTheView) {
    FakeControls controls;
    controls.setItemIndex(binding("RadioGroupGearSystem"), 2);
    controls.setItemIndex(binding("RadioGroupClutchMode"), 1);
    controls.setItemIndex(binding("RadioGroupSpeedMode"), 1);
    controls.setItemIndex(binding("RadioGroupIdleMode"), 2);
    window.programAfterChange = true;
    handlers.modeRadioGroupClicked(controls);
    EXPECT_EQ(window.image.get(Field::GEAR_GearSystem), 2);
    EXPECT_EQ(window.image.get(Field::CLUTCH_ClutchMode), 1);
    EXPECT_EQ(window.image.get(Field::SPEED_PULSES_SpeedMode), 1);
    EXPECT_EQ(window.image.get(Field::IDLE_IdleMode), 2);
    EXPECT_EQ(window.events, std::vector<std::string>{"view"});
    EXPECT_EQ(window.markedBlocks, (std::vector<int>{1, 2}));
    EXPECT_EQ(window.programmingStarts, 1);
}

TEST_F(OptionHandlersTest, GearLearningStoresTheLiveRatioOnlyWhenGearsGoByRatio) {
    window.image.set(Field::GEAR_GearSystem, 0);
    handlers.gearButtonClicked(3, 0x1234);
    EXPECT_EQ(window.image.byte(166), 0x34);
    EXPECT_EQ(window.image.byte(167), 0x12);
    handlers.gearButtonClicked(6, 0xABCD);
    EXPECT_EQ(window.image.word(172), 0xABCD);
    EXPECT_EQ(window.events.size(), 4u);  // the pipeline ran twice

    window.image.set(Field::GEAR_GearSystem, 1);
    pipeline.recordSnapshot();
    window.events.clear();
    handlers.gearButtonClicked(3, 0x5555);
    EXPECT_EQ(window.image.word(166), 0x1234);
    EXPECT_EQ(window.events, (std::vector<std::string>{"refresh", "refresh"}));

    window.image.set(Field::GEAR_GearSystem, 0);
    const auto before = window.image;
    handlers.gearButtonClicked(7, 0x5555);  // no such gear
    EXPECT_EQ(window.image, before);
}

}  // namespace
}  // namespace zelvor::editing
