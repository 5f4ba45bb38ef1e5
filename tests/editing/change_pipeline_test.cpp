#include "editing/change_pipeline.h"

#include <gtest/gtest.h>

#include "editing/option_handlers.h"
#include "model/field_table.h"
#include "pipeline_fixture.h"

namespace zelvor::editing {
namespace {

using model::Field;
using model::ParameterImage;
using testing::blocksOf;
using testing::FakeWindow;

constexpr UndoRedoEnabling kUndoOnly{.canUndo = true, .canRedo = false};
constexpr UndoRedoEnabling kRedoOnly{.canUndo = false, .canRedo = true};

class ChangePipelineTest : public ::testing::Test {
  protected:
    FakeWindow window;
    ChangePipeline pipeline{window.image};
    OptionHandlers handlers{window.image, pipeline, window.state, window.pageSteps()};
    ChangeOutcome started;

    void SetUp() override { started = pipeline.initialise(window.state); }

    // A change the sanitizer leaves alone, through the whole pipeline.
    ChangeOutcome change(unsigned fan1) {
        window.image.set(Field::FAN_Fan1, fan1);
        return handlers.runPipeline();
    }
};

TEST_F(ChangePipelineTest, StartsWithUndoAndRedoDisabled) {
    EXPECT_EQ(started.enabling, UndoRedoEnabling{});
    EXPECT_FALSE(started.changed());
    const ChangeOutcome undone = pipeline.undo(window.state);
    const ChangeOutcome redone = pipeline.redo(window.state);
    for (const ChangeOutcome& nothing : {undone, redone}) {
        EXPECT_FALSE(nothing.changed());
        EXPECT_FALSE(nothing.refresh);
        EXPECT_FALSE(nothing.showPage);
        EXPECT_FALSE(nothing.enabling);
    }
    EXPECT_TRUE(window.events.empty());
}

TEST_F(ChangePipelineTest, ChangeUndoRedo) {
    const ParameterImage start = window.image;
    const ChangeOutcome changed = change(42);
    // Sanitized, shown twice, then recorded.
    EXPECT_EQ(window.events, (std::vector<std::string>{"refresh", "refresh"}));
    EXPECT_EQ(changed.enabling, kUndoOnly);
    const ParameterImage changedImage = window.image;

    const ChangeOutcome undone = pipeline.undo(window.state);
    EXPECT_EQ(window.image, start);
    EXPECT_EQ(undone.enabling, kRedoOnly);
    EXPECT_TRUE(undone.refresh);
    EXPECT_FALSE(undone.showPage);  // recorded on the page still shown

    const ChangeOutcome redone = pipeline.redo(window.state);
    EXPECT_EQ(window.image, changedImage);
    EXPECT_EQ(redone.enabling, kUndoOnly);
    EXPECT_TRUE(redone.refresh);
}

TEST_F(ChangePipelineTest, ChangeAfterUndoDropsRedo) {
    (void)change(1);
    (void)change(2);
    EXPECT_EQ(pipeline.undo(window.state).enabling, (UndoRedoEnabling{true, true}));
    EXPECT_EQ(change(3).enabling, kUndoOnly);
    EXPECT_FALSE(pipeline.redo(window.state).refresh);
    EXPECT_EQ(window.image.get(Field::FAN_Fan1), 3);
    (void)pipeline.undo(window.state);
    EXPECT_EQ(window.image.get(Field::FAN_Fan1), 1);
}

TEST_F(ChangePipelineTest, RingKeepsTwoHundredStates) {
    for (unsigned i = 1; i <= 250; ++i) {
        window.image.set(Field::GEAR_PomerRpmSpeed, 0, i);
        (void)handlers.runPipeline();
    }
    for (int i = 0; i < 199; ++i) {
        ASSERT_TRUE(pipeline.canUndo()) << i;
        (void)pipeline.undo(window.state);
    }
    // The oldest state kept is the 51st change.
    EXPECT_EQ(window.image.get(Field::GEAR_PomerRpmSpeed, 0), 51);
    EXPECT_FALSE(pipeline.canUndo());
    EXPECT_FALSE(pipeline.undo(window.state).refresh);
    EXPECT_EQ(window.image.get(Field::GEAR_PomerRpmSpeed, 0), 51);
    for (int i = 0; i < 199; ++i) (void)pipeline.redo(window.state);
    EXPECT_EQ(window.image.get(Field::GEAR_PomerRpmSpeed, 0), 250);
    EXPECT_FALSE(pipeline.canRedo());
}

TEST_F(ChangePipelineTest, ChangedBlocksAreMarkedAndProgrammedWhenWanted) {
    window.image.setByte(160, window.image.byte(160) + 1);
    ChangeOutcome outcome = handlers.runPipeline();
    EXPECT_EQ(blocksOf(outcome.changedBlocks), std::vector<int>{2});
    EXPECT_FALSE(outcome.startProgramming);

    window.state.programAfterChange = true;
    window.image.setByte(160, window.image.byte(160) + 1);
    outcome = handlers.runPipeline();
    EXPECT_EQ(blocksOf(outcome.changedBlocks), std::vector<int>{2});
    EXPECT_TRUE(outcome.startProgramming);

    // A byte at each end of the memo touches blocks 8 and 9.
    window.image.setByte(1150, 'a');
    window.image.setByte(1348, 'b');
    outcome = handlers.runPipeline();
    EXPECT_EQ(blocksOf(outcome.changedBlocks), (std::vector<int>{8, 9}));
    EXPECT_TRUE(outcome.startProgramming);

    // Undo restores both blocks and programs them again.
    outcome = pipeline.undo(window.state);
    EXPECT_EQ(blocksOf(outcome.changedBlocks), (std::vector<int>{8, 9}));
    EXPECT_TRUE(outcome.startProgramming);
}

TEST_F(ChangePipelineTest, EditReversedBySanitizingRecordsNothing) {
    window.state.programAfterChange = true;
    window.image.set(Field::N2O_GasT, 0);  // raised back to 1
    const ChangeOutcome outcome = handlers.runPipeline();
    EXPECT_EQ(window.image.get(Field::N2O_GasT), 1);
    EXPECT_FALSE(pipeline.canUndo());
    EXPECT_FALSE(outcome.changed());
    EXPECT_FALSE(outcome.enabling);
    EXPECT_FALSE(outcome.startProgramming);
}

// An image replaced without a snapshot (a Read) that equals the state an undo
// returns to: the undo changes no byte, so nothing is flagged or programmed,
// but the page is still shown again and the enabling follows.
TEST_F(ChangePipelineTest, UndoThatChangesNoByteProgramsNothing) {
    const ParameterImage start = window.image;
    window.state.programAfterChange = true;
    (void)change(10);
    window.image = start;
    const ChangeOutcome outcome = pipeline.undo(window.state);
    EXPECT_FALSE(outcome.changed());
    EXPECT_FALSE(outcome.startProgramming);
    EXPECT_TRUE(outcome.refresh);
    EXPECT_EQ(outcome.enabling, kRedoOnly);
}

TEST_F(ChangePipelineTest, UndoReturnsToThePageOfTheRecordedState) {
    window.state.currentPage = 5;
    (void)change(10);
    window.state.currentPage = 8;
    (void)change(20);

    const ChangeOutcome back = pipeline.undo(window.state);  // the state recorded on page 5
    EXPECT_EQ(back.showPage, 5);
    EXPECT_TRUE(back.refresh);
    window.state.currentPage = 5;  // as the window switched

    const ChangeOutcome forward = pipeline.redo(window.state);  // the state recorded on page 8
    EXPECT_EQ(forward.showPage, 8);
    EXPECT_TRUE(forward.refresh);
    window.state.currentPage = 8;
    const ChangeOutcome further = pipeline.redo(window.state);  // nothing further
    EXPECT_FALSE(further.showPage);
    EXPECT_FALSE(further.refresh);

    // Undoing every change returns to the page the history started on.
    (void)pipeline.undo(window.state);
    window.state.currentPage = 5;
    EXPECT_EQ(pipeline.undo(window.state).showPage, 0);
}

TEST_F(ChangePipelineTest, SanitizesTheOutsideSettingsWhenGiven) {
    model::OutsideSettings settings{7, 25};
    ChangePipeline withSettings(window.image, &settings);
    withSettings.sanitize();
    EXPECT_EQ(settings.language, 0);
    EXPECT_EQ(settings.portIndex, 0);
}

}  // namespace
}  // namespace zelvor::editing
