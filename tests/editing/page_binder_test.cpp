#include "editing/page_binder.h"

#include <gtest/gtest.h>

#include "editing/conversion.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "fake_controls.h"
#include "model/field_table.h"

namespace zelvor::editing {
namespace {

using model::Field;
using model::ParameterImage;
using testing::FakeControls;

constexpr CodePage kPage = CodePage::Windows1252;

const Binding& binding(std::string_view control, int element = -1) {
    const Binding* b = findBinding(control, element);
    if (!b) throw std::invalid_argument(std::string(control));
    return *b;
}

struct SpinnerCase {
    std::string_view control;
    int element;
    int position;
    unsigned stored;
};

// Positions and the stored values they give, both ways.
constexpr SpinnerCase kSpinnerCases[] = {
    {"UpDownRpmKorekce", -1, -60, 40},      {"UpDownRpmKorekce", -1, 60, 160},
    {"UpDownTps100", -1, 5000, 250},        {"UpDownTps100", -1, 2500, 0},
    {"UpDownTps100", -1, 4730, 223},        {"UpDownIdleRpmMez", -1, 1000, 50},
    {"UpDownIdleStepPerioda", -1, 1500, 6}, {"UpDownPolohaAAngle", 3, 720, 144},
    {"UpDownPolohaAAngle", 0, 5, 1},        {"UpDownIdleRpmPoz", 0, 500, 0},
    {"UpDownIdleRpmPoz", 5, 3000, 250},     {"UpDownIgnVoda", 2, -20, 80},
    {"UpDownGearKorAdv", 5, -20, 80},       {"UpDownClutchPause", 1, 2500, 250},
    {"UpDownSyticKorekce2", -1, 350, 250},  {"UpDownPulsuProSpeed", -1, 32000, 32000},
};

TEST(PageBinder, SpinnerPositionsConvertBothWays) {
    for (const SpinnerCase& c : kSpinnerCases) {
        SCOPED_TRACE(std::string(c.control) + " " + std::to_string(c.position));
        const Binding& b = binding(c.control, c.element);
        FakeControls controls;
        ParameterImage image;
        controls.setPosition(b, c.position);
        collectPage(b.page, controls, image, kPage);
        EXPECT_EQ(image.get(b.field, b.fieldIndex), c.stored);

        FakeControls shown;
        refreshPage(b.page, shown, image, kPage);
        EXPECT_EQ(shown.position(b), c.position);
    }
}

TEST(PageBinder, StoredValuesOutsideTheRangeComeBackLimited) {
    ParameterImage image;
    image.set(Field::FAN_Fan1, 200);
    image.set(Field::POSITION_A_Angle, 7, 255);
    image.set(Field::IDLE_IdleRpmPoz, 0, 255);
    FakeControls controls;
    for (int page : {kPageBike, kPagePoloha, kPageIdle}) {
        refreshPage(page, controls, image, kPage);
        collectPage(page, controls, image, kPage);
    }
    EXPECT_EQ(image.get(Field::FAN_Fan1), 150);
    EXPECT_EQ(image.get(Field::POSITION_A_Angle, 7), 144);
    EXPECT_EQ(image.get(Field::IDLE_IdleRpmPoz, 0), 250);

    controls.setPosition(binding("UpDownGearKorJet", 0), 300);
    collectPage(kPageGear, controls, image, kPage);
    EXPECT_EQ(image.get(Field::GEAR_CORR_GearKorJet, 0), 255);
}

// Every control of every page carries its own value from the image to the
// control and back into a fresh image.
TEST(PageBinder, EveryBindingRoundTrips) {
    ParameterImage original;
    int k = 0;
    for (const Binding& b : allBindings()) {
        ++k;
        switch (b.kind) {
            case ControlKind::Spinner: {
                const int steps = (b.maximum - b.minimum) / b.step;
                const int position = b.minimum + (k * 37 % (steps + 1)) * b.step;
                original.set(b.field, b.fieldIndex, toStored(b, position));
                break;
            }
            case ControlKind::CheckBox:
                original.set(b.field, b.fieldIndex, k % 2);
                break;
            case ControlKind::RadioGroup:
                original.set(b.field, b.fieldIndex, static_cast<unsigned>(k % (b.maximum + 1)));
                break;
            case ControlKind::ComboBox:
                original.set(b.field, b.fieldIndex, static_cast<unsigned>(k % kBikeSeparatorItem));
                break;
            case ControlKind::Memo:
                break;
        }
    }
    for (int page = 0; page < kPageCount; ++page) {
        FakeControls controls;
        ParameterImage copy;
        refreshPage(page, controls, original, kPage);
        collectPage(page, controls, copy, kPage);
        for (const Binding& b : pageBindings(page)) {
            EXPECT_EQ(copy.get(b.field, b.fieldIndex), original.get(b.field, b.fieldIndex))
                << b.control << "[" << b.element << "]";
        }
    }
}

TEST(PageBinder, UnknownBikeShowsTheSeparatorAndIsKept) {
    ParameterImage image;
    image.set(Field::BIKE_BikeType, 9);
    FakeControls controls;
    EXPECT_TRUE(refreshPage(kPageBike, controls, image, kPage).unknownBike);
    EXPECT_EQ(controls.itemIndex(binding("ComboBoxBike")), kBikeSeparatorItem);
    collectPage(kPageBike, controls, image, kPage);
    EXPECT_EQ(image.get(Field::BIKE_BikeType), 9);

    controls.setItemIndex(binding("ComboBoxBike"), 5);
    collectPage(kPageBike, controls, image, kPage);
    EXPECT_EQ(image.get(Field::BIKE_BikeType), 5);
    EXPECT_FALSE(refreshPage(kPageBike, controls, image, kPage).unknownBike);
}

TEST(PageBinder, RadioGroupWithoutSelectionKeepsItsField) {
    ParameterImage image;
    image.set(Field::IDLE_IdleMode, 7);
    FakeControls controls;
    refreshPage(kPageIdle, controls, image, kPage);
    EXPECT_EQ(controls.itemIndex(binding("RadioGroupIdleMode")), -1);
    collectPage(kPageIdle, controls, image, kPage);
    EXPECT_EQ(image.get(Field::IDLE_IdleMode), 7);
}

TEST(PageBinder, BikePageCollectsTheMemoAndEndsIt) {
    ParameterImage image;
    image.set(Field::MEMO_Terminator, 0x55);
    FakeControls controls;
    controls.setText(binding("Memo1"), "two\nlines");
    collectPage(kPageBike, controls, image, kPage);
    EXPECT_EQ(image.get(Field::MEMO_Terminator), 0);
    EXPECT_EQ(image.get(Field::MEMO_Text, 3), '\r');
    EXPECT_EQ(image.get(Field::MEMO_Text, 4), '\n');

    FakeControls shown;
    refreshPage(kPageBike, shown, image, kPage);
    EXPECT_EQ(shown.text(binding("Memo1")), "two\nlines");
}

TEST(PageBinder, PagesWithoutBindingsAreLeftAlone) {
    ParameterImage image;
    image.set(Field::ADVANCE_Cell, 0, 33);
    const ParameterImage before = image;
    FakeControls controls;
    for (int page : {kPageAdvance, kPageJet1A, kPageJet2A, kPageMonitor, 12}) {
        EXPECT_FALSE(isBoundPage(page));
        collectPage(page, controls, image, kPage);
        EXPECT_FALSE(refreshPage(page, controls, image, kPage).unknownBike);
    }
    EXPECT_EQ(image, before);
}

// A page visited and left changes nothing its controls could not show: a
// gear count of 0, a fan temperature beyond the spinner, memo bytes behind
// the text's end. What the user changes is taken.
TEST(PageBinder, CollectTakesOnlyWhatChangedSinceTheRefresh) {
    ParameterImage image;
    image.set(Field::GEAR_PocetGear, 0);  // the spinner starts at 1
    image.set(Field::FAN_Fan1, 200);      // the spinner ends at 150
    image.set(Field::MEMO_Text, 0, 'A');
    image.set(Field::MEMO_Text, 1, 0);
    image.set(Field::MEMO_Text, 5, 'x');  // behind the text's end
    const ParameterImage before = image;
    FakeControls controls;
    ShownValues shown;
    for (int page : {kPageGear, kPageBike}) {
        refreshPage(page, controls, image, kPage, &shown);
        collectPage(page, controls, image, kPage, &shown);
    }
    EXPECT_EQ(image, before);

    controls.setPosition(binding("UpDownPocetGear"), 3);
    controls.setText(binding("Memo1"), "AB");
    collectPage(kPageGear, controls, image, kPage, &shown);
    collectPage(kPageBike, controls, image, kPage, &shown);
    EXPECT_EQ(image.get(Field::GEAR_PocetGear), 3u);
    EXPECT_EQ(image.get(Field::MEMO_Text, 1), unsigned{'B'});
    EXPECT_EQ(image.get(Field::MEMO_Text, 5), 0u);
    EXPECT_EQ(image.get(Field::FAN_Fan1), 200u);
    // Without a record of what was shown, every control is taken.
    collectPage(kPageBike, controls, image, kPage);
    EXPECT_EQ(image.get(Field::FAN_Fan1), 150u);
}

}  // namespace
}  // namespace zelvor::editing
