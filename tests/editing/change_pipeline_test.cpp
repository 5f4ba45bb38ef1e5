#include "editing/change_pipeline.h"

#include <gtest/gtest.h>

#include "model/field_table.h"
#include "pipeline_fixture.h"

namespace zelvor::editing {
namespace {

using model::Field;
using model::ParameterImage;
using testing::FakeWindow;

class ChangePipelineTest : public ::testing::Test {
  protected:
    FakeWindow window;
    ChangePipeline pipeline{window.image, window.hooks()};

    void SetUp() override { pipeline.initialise(); }

    // A change the sanitizer leaves alone.
    void change(unsigned fan1) {
        window.image.set(Field::FAN_Fan1, fan1);
        pipeline.run();
    }
};

TEST_F(ChangePipelineTest, StartsWithUndoAndRedoDisabled) {
    EXPECT_FALSE(window.canUndo);
    EXPECT_FALSE(window.canRedo);
    pipeline.undo();
    pipeline.redo();
    EXPECT_TRUE(window.events.empty());
}

TEST_F(ChangePipelineTest, ChangeUndoRedo) {
    const ParameterImage start = window.image;
    change(42);
    EXPECT_EQ(window.events, (std::vector<std::string>{"refresh", "refresh"}));
    EXPECT_TRUE(window.canUndo);
    EXPECT_FALSE(window.canRedo);
    const ParameterImage changed = window.image;

    pipeline.undo();
    EXPECT_EQ(window.image, start);
    EXPECT_FALSE(window.canUndo);
    EXPECT_TRUE(window.canRedo);

    pipeline.redo();
    EXPECT_EQ(window.image, changed);
    EXPECT_TRUE(window.canUndo);
    EXPECT_FALSE(window.canRedo);
}

TEST_F(ChangePipelineTest, ChangeAfterUndoDropsRedo) {
    change(1);
    change(2);
    pipeline.undo();
    EXPECT_TRUE(window.canRedo);
    change(3);
    EXPECT_FALSE(window.canRedo);
    pipeline.redo();
    EXPECT_EQ(window.image.get(Field::FAN_Fan1), 3);
    pipeline.undo();
    EXPECT_EQ(window.image.get(Field::FAN_Fan1), 1);
}

TEST_F(ChangePipelineTest, RingKeepsTwoHundredStates) {
    for (unsigned i = 1; i <= 250; ++i) {
        window.image.set(Field::GEAR_PomerRpmSpeed, 0, i);
        pipeline.run();
    }
    for (int i = 0; i < 199; ++i) {
        ASSERT_TRUE(pipeline.canUndo()) << i;
        pipeline.undo();
    }
    // The oldest state kept is the 51st change.
    EXPECT_EQ(window.image.get(Field::GEAR_PomerRpmSpeed, 0), 51);
    EXPECT_FALSE(pipeline.canUndo());
    pipeline.undo();
    EXPECT_EQ(window.image.get(Field::GEAR_PomerRpmSpeed, 0), 51);
    for (int i = 0; i < 199; ++i) pipeline.redo();
    EXPECT_EQ(window.image.get(Field::GEAR_PomerRpmSpeed, 0), 250);
    EXPECT_FALSE(pipeline.canRedo());
}

TEST_F(ChangePipelineTest, ChangedBlocksAreMarkedAndProgrammedWhenWanted) {
    window.image.setByte(160, window.image.byte(160) + 1);
    pipeline.run();
    EXPECT_EQ(window.markedBlocks, std::vector<int>{2});
    EXPECT_EQ(window.programmingStarts, 0);

    window.programAfterChange = true;
    window.markedBlocks.clear();
    window.image.setByte(160, window.image.byte(160) + 1);
    pipeline.run();
    EXPECT_EQ(window.markedBlocks, std::vector<int>{2});
    EXPECT_EQ(window.programmingStarts, 1);

    // A byte at each end of the memo touches blocks 8 and 9.
    window.markedBlocks.clear();
    window.image.setByte(1150, 'a');
    window.image.setByte(1348, 'b');
    pipeline.run();
    EXPECT_EQ(window.markedBlocks, (std::vector<int>{8, 9}));
    EXPECT_EQ(window.programmingStarts, 2);

    // Undo restores both blocks and programs them again.
    window.markedBlocks.clear();
    pipeline.undo();
    EXPECT_EQ(window.markedBlocks, (std::vector<int>{8, 9}));
    EXPECT_EQ(window.programmingStarts, 3);
}

TEST_F(ChangePipelineTest, EditReversedBySanitizingRecordsNothing) {
    window.programAfterChange = true;
    window.image.set(Field::N2O_GasT, 0);  // raised back to 1
    pipeline.run();
    EXPECT_EQ(window.image.get(Field::N2O_GasT), 1);
    EXPECT_FALSE(window.canUndo);
    EXPECT_TRUE(window.markedBlocks.empty());
    EXPECT_EQ(window.programmingStarts, 0);
}

TEST_F(ChangePipelineTest, UndoReturnsToThePageOfTheRecordedState) {
    window.page = 5;
    change(10);
    window.page = 8;
    change(20);
    window.events.clear();

    pipeline.undo();  // back to the state recorded on page 5
    EXPECT_EQ(window.page, 5);
    EXPECT_EQ(window.events, (std::vector<std::string>{"switch 5", "refresh"}));

    window.events.clear();
    pipeline.redo();  // forward to the state recorded on page 8
    pipeline.redo();  // nothing further
    EXPECT_EQ(window.page, 8);
    EXPECT_EQ(window.events, (std::vector<std::string>{"switch 8", "refresh"}));
}

TEST_F(ChangePipelineTest, SanitizesTheOutsideSettingsWhenGiven) {
    model::OutsideSettings settings{7, 25};
    ChangePipeline withSettings(window.image, window.hooks(), &settings);
    withSettings.run();
    EXPECT_EQ(settings.language, 0);
    EXPECT_EQ(settings.portIndex, 0);
}

}  // namespace
}  // namespace zelvor::editing
