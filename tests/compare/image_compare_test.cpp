#include "compare/image_compare.h"

#include <gtest/gtest.h>

#include <cstring>

#include "compare/field_pages.h"
#include "editing/page_index.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/sanitizer.h"

namespace zelvor::compare {
namespace {

using model::Field;
using model::ParameterImage;

ParameterImage saneDefaults() {
    ParameterImage image;
    model::loadDefaultSet(image);
    model::sanitize(image);
    return image;
}

void setMemo(ParameterImage& image, const char* text, std::size_t length) {
    const model::FieldDescriptor& memo = model::descriptor(Field::MEMO_Text);
    std::memset(image.bytes().data() + memo.offset, 0, memo.count);
    std::memcpy(image.bytes().data() + memo.offset, text, length);
}

TEST(ImageCompare, GroupsDifferencesByTheirPageInPageOrderWithTheUnshownLast) {
    const ParameterImage edited = saneDefaults();
    ParameterImage reference = edited;
    reference.set(Field::FIXED_Byte191, edited.get(Field::FIXED_Byte191) + 1);
    reference.set(Field::JET_1A_Cell, 17, edited.get(Field::JET_1A_Cell, 17) + 40);
    reference.set(Field::IDLE_IdleMode, (edited.get(Field::IDLE_IdleMode) + 1) % 3);
    reference.set(Field::FAN_Fan1, edited.get(Field::FAN_Fan1) + 3);
    reference.set(Field::RPM_ADV_Rpm, 14, edited.get(Field::RPM_ADV_Rpm, 14) + 1);
    setMemo(reference, "other", 5);

    const std::vector<Difference> differences = compareImages(edited, reference);
    ASSERT_EQ(differences.size(), 6u);
    EXPECT_EQ(countDifferences(edited, reference), 6u);

    const std::vector<PageGroup> groups = groupByPage(differences);
    ASSERT_EQ(groups.size(), 5u);
    EXPECT_EQ(groups[0].page, editing::kPageBike);
    EXPECT_EQ(groups[1].page, editing::kPageAdvance);
    EXPECT_EQ(groups[2].page, editing::kPageJet1A);
    EXPECT_EQ(groups[3].page, editing::kPageIdle);
    EXPECT_EQ(groups[4].page, std::nullopt);
    std::vector<std::string> bikeRows;
    for (const std::size_t row : groups[0].rows) bikeRows.push_back(differences[row].name);
    EXPECT_EQ(bikeRows, (std::vector<std::string>{"FAN.Fan1", "MEMO.Text"}));
    ASSERT_EQ(groups[2].rows.size(), 1u);
    const Difference& cell = differences[groups[2].rows[0]];
    EXPECT_EQ(cell.field, Field::JET_1A_Cell);
    EXPECT_EQ(cell.index, 17);
    EXPECT_EQ(cell.name, "JET_1A.Cell[17]");
    EXPECT_EQ(cell.reference, std::to_string(reference.get(Field::JET_1A_Cell, 17)));
    EXPECT_EQ(differences[groups[4].rows[0]].name, "FIXED.Byte191");
}

TEST(ImageCompare, PagesFollowTheControlsThatShowTheElements) {
    EXPECT_EQ(pageShowing(Field::ADVANCE_Cell, 149), editing::kPageAdvance);
    EXPECT_EQ(pageShowing(Field::RPM_JET_2A_Rpm, 0), editing::kPageJet2A);
    EXPECT_EQ(pageShowing(Field::JET_2A_Cell, 0), editing::kPageJet2A);
    EXPECT_EQ(pageShowing(Field::MEMO_Text, 0), editing::kPageBike);
    EXPECT_EQ(pageShowing(Field::FIXED_Table214, 3), std::nullopt);
    EXPECT_EQ(pageShowing(Field::ADVANCE_Cell, 150), std::nullopt) << "past the field's end";
    // A run-time array of editors: every element on the array's page.
    EXPECT_EQ(pageShowing(Field::GEAR_PomerRpmSpeed, 5), editing::kPageGear);
    EXPECT_EQ(pageShowing(Field::INJ_CORR_KorVoda, 4), editing::kPageKorekce);
}

TEST(ImageCompare, ComparesAfterTheRangeRulesAndTheMemoUpToItsEnd) {
    ParameterImage edited = saneDefaults();
    ParameterImage reference = edited;
    // Out of range in the reference, equal once both are in range.
    edited.set(Field::ADVANCE_Cell, 3, 60);
    reference.set(Field::ADVANCE_Cell, 3, 200);
    // Bytes after the memo's end carry no meaning.
    setMemo(edited, "tune\0old", 8);
    setMemo(reference, "tune\0new", 8);
    EXPECT_TRUE(compareImages(edited, reference).empty());
    EXPECT_EQ(countDifferences(edited, reference), 0u);

    setMemo(reference, "tune 2\x9a", 7);
    const std::vector<Difference> differences = compareImages(edited, reference);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differenceLine(differences[0]), "MEMO.Text: \"tune\" -> \"tune 2\\x9A\"");
}

TEST(ImageCompare, SignedAndScaledValuesAreShownInEngineeringUnits) {
    const ParameterImage edited = saneDefaults();
    ParameterImage reference = edited;
    reference.set(Field::RPM_RpmKorekce, 95);  // stored with 100 added
    reference.set(Field::ACCEL_AkcelJet, 3);   // 50 us a step
    const std::vector<Difference> differences = compareImages(edited, reference);
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(differences[0].name, "RPM.RpmKorekce");
    EXPECT_EQ(differences[0].reference, "-5");
    EXPECT_EQ(differences[1].reference, "150");
}

TEST(ImageCompare, TakingAReferenceValueCopiesThatElementOnly) {
    ParameterImage edited = saneDefaults();
    ParameterImage reference = edited;
    reference.set(Field::JET_1A_Cell, 20, 4321);
    reference.set(Field::JET_1A_Cell, 21, 4322);
    reference.set(Field::GEAR_PomerRpmSpeed, 2, 777);
    setMemo(reference, "from a colleague", 16);
    setMemo(edited, "mine, a longer text", 19);

    takeReference(edited, reference, Field::JET_1A_Cell, 20);
    std::vector<Difference> left = compareImages(edited, reference);
    std::vector<std::string> names;
    for (const Difference& difference : left) names.push_back(difference.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"GEAR.PomerRpmSpeed[2]", "JET_1A.Cell[21]", "MEMO.Text"}));

    for (const Difference& difference : left) {
        takeReference(edited, reference, difference.field, difference.index);
    }
    EXPECT_TRUE(compareImages(edited, reference).empty());
    // The whole memo is taken: nothing of the longer text is left behind.
    EXPECT_EQ(edited, reference);
}

}  // namespace
}  // namespace zelvor::compare
