#include "editing/page_bindings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "editing/conversion.h"
#include "editing/page_index.h"
#include "model/field_table.h"

namespace zelvor::editing {
namespace {

using model::Field;

// Fields edited elsewhere (the map pages and their menu) or by nobody.
bool editedOffTheOrdinaryPages(const model::FieldDescriptor& d) {
    switch (d.id) {
        case Field::RPM_ADV_Rpm:
        case Field::RPM_JET_1A_Rpm:
        case Field::RPM_JET_2A_Rpm:
        case Field::ADVANCE_Cell:
        case Field::JET_1A_Cell:
        case Field::JET_2A_Cell:
        case Field::ADVANCE_MISC_UseTps:
        case Field::ADVANCE_MISC_CylKor1:
        case Field::ADVANCE_MISC_CylKor2:
        case Field::ADVANCE_MISC_BaseAdv:
        case Field::JET1_MISC_Jet123Mode:
        case Field::MEMO_Terminator:
            return true;
        default:
            return d.section == "FIXED";
    }
}

TEST(PageBindings, EveryEditableFieldElementHasExactlyOneControl) {
    std::set<std::pair<Field, int>> bound;
    for (const Binding& b : allBindings()) {
        EXPECT_TRUE(bound.insert({b.field, b.fieldIndex}).second) << b.control << b.element;
    }
    std::set<std::pair<Field, int>> expected;
    for (const model::FieldDescriptor& d : model::kFieldTable) {
        if (editedOffTheOrdinaryPages(d)) continue;
        // The memo is one control for the whole text.
        const int elements = d.kind == model::Kind::Text ? 1 : d.count;
        for (int i = 0; i < elements; ++i) expected.insert({d.id, i});
    }
    EXPECT_EQ(bound, expected);
}

TEST(PageBindings, PagesAreContiguousAndOnlyOrdinaryPagesHaveBindings) {
    std::size_t total = 0;
    for (int page = -1; page <= kPageCount; ++page) {
        const auto bindings = pageBindings(page);
        const bool ordinary = page == kPageBike || (page >= kPagePoloha && page <= kPageGear);
        EXPECT_EQ(!bindings.empty(), ordinary) << page;
        for (const Binding& b : bindings) EXPECT_EQ(b.page, page);
        total += bindings.size();
    }
    EXPECT_EQ(total, allBindings().size());
    EXPECT_EQ(pageBindings(kPageBike).front().control, "ComboBoxBike");
    EXPECT_EQ(pageBindings(kPageBike).back().control, "Memo1");
}

// The conversion of every spinner must agree with the field's own scaling
// over the whole range, and the range must fit the stored width.
TEST(PageBindings, SpinnerConversionsAgreeWithTheFieldTable) {
    for (const Binding& b : allBindings()) {
        if (b.kind != ControlKind::Spinner) continue;
        SCOPED_TRACE(std::string(b.control) + "[" + std::to_string(b.element) + "]");
        const model::FieldDescriptor& d = model::descriptor(b.field);
        const int limit = d.width == model::Width::Word ? 0xFFFF : 0xFF;
        ASSERT_LT(b.minimum, b.maximum);
        EXPECT_EQ((b.maximum - b.minimum) % b.step, 0);
        for (int p = b.minimum; p <= b.maximum; p += b.step) {
            const int expected = (p - d.bias) / d.scale;
            ASSERT_GE(expected, 0) << p;
            ASSERT_LE(expected, limit) << p;
            ASSERT_EQ(toStored(b, p), static_cast<unsigned>(expected)) << p;
            ASSERT_EQ(toPosition(b, static_cast<unsigned>(expected)), expected * d.scale + d.bias);
        }
    }
}

// A binding offers exactly what its field allows: the field's editor range
// and step (the bike list one item more, its separator; the memo its
// length), and a spinner converts as its field does at every position.
TEST(PageBindings, RangesAndConversionsAreTheFieldsOwn) {
    for (const Binding& b : allBindings()) {
        SCOPED_TRACE(std::string(b.control) + "[" + std::to_string(b.element) + "]");
        const model::FieldDescriptor& d = model::descriptor(b.field);
        switch (b.kind) {
            case ControlKind::ComboBox:
                EXPECT_EQ(b.minimum, d.range.minimum);
                EXPECT_EQ(b.maximum, d.range.maximum + 1);
                break;
            case ControlKind::Memo:
                EXPECT_EQ(b.maximum, d.count);
                break;
            default:
                EXPECT_EQ((model::EditorRange{b.minimum, b.maximum, b.step}), d.range);
        }
        if (b.kind != ControlKind::Spinner) continue;
        unsigned previous = 0;
        for (int p = b.minimum; p <= b.maximum; p += b.step) {
            const unsigned stored = toStored(b, p);
            ASSERT_EQ(stored, d.toStored(p)) << p;
            ASSERT_EQ(toPosition(b, stored), p) << p;
            // Larger positions store larger values: nothing wraps.
            if (p > b.minimum) {
                ASSERT_GT(stored, previous) << p;
            }
            previous = stored;
        }
    }
}

// Design-time edits commit when left, run-time editors when clicked, check
// boxes on the mouse's release; four radio groups write their own field and
// four copy all modes.
TEST(PageBindings, CommitKindsFollowTheControls) {
    std::set<std::string_view> direct;
    std::set<std::string_view> modes;
    for (const Binding& b : allBindings()) {
        SCOPED_TRACE(std::string(b.control));
        switch (b.kind) {
            case ControlKind::Spinner:
                EXPECT_EQ(b.commit, b.placement ? Commit::Click : Commit::Leave);
                break;
            case ControlKind::CheckBox:
                EXPECT_EQ(b.commit, Commit::MouseUp);
                break;
            case ControlKind::RadioGroup:
                ASSERT_TRUE(b.commit == Commit::DirectRadio || b.commit == Commit::ModeRadio);
                (b.commit == Commit::DirectRadio ? direct : modes).insert(b.control);
                break;
            case ControlKind::ComboBox:
            case ControlKind::Memo:
                EXPECT_EQ(b.commit, Commit::Own);
                break;
        }
    }
    EXPECT_EQ(direct, (std::set<std::string_view>{"RadioGroupPolohaA", "RadioGroupPinEngine23",
                                                  "RadioGroupPinEngine14", "RadioGroupPinBody11"}));
    EXPECT_EQ(modes, (std::set<std::string_view>{"RadioGroupClutchMode", "RadioGroupGearSystem",
                                                 "RadioGroupSpeedMode", "RadioGroupIdleMode"}));

    const auto names = [](Commit commit) {
        const auto list = controlsCommittingOn(commit);
        return std::set<std::string_view>(list.begin(), list.end());
    };
    EXPECT_EQ(names(Commit::MouseUp),
              (std::set<std::string_view>{"CheckBoxAktRpm", "CheckBoxAktStartLimiter",
                                          "CheckBoxAktClutchMaster", "CheckBoxNoFuelInd",
                                          "CheckBoxAll_PolohaA", "CheckBoxTempDisplay",
                                          "CheckBoxIdleSmerReg", "CheckBoxGas", "CheckBoxProgHned",
                                          "CheckBoxExtMonitor", "CheckBoxAll_Uni"}));
    EXPECT_EQ(names(Commit::DirectRadio), direct);
    EXPECT_EQ(names(Commit::ModeRadio), modes);
    // A run-time array is named once.
    const auto clicked = controlsCommittingOn(Commit::Click);
    EXPECT_EQ(std::count(clicked.begin(), clicked.end(), "UpDownKorVoda"), 1);
    EXPECT_EQ(names(Commit::Own), (std::set<std::string_view>{"ComboBoxBike", "Memo1"}));
}

TEST(PageBindings, RunTimeEditorsCarryTheirPlacement) {
    const Binding* airCorrection = findBinding("UpDownKorVzduch", 4);
    ASSERT_NE(airCorrection, nullptr);
    ASSERT_TRUE(airCorrection->placement);
    EXPECT_EQ(airCorrection->placement->parent, "GroupBoxKorVodaVzduch");
    EXPECT_EQ(airCorrection->placement->left, 165);
    EXPECT_EQ(airCorrection->placement->top, 4 * 39 + 65);
    EXPECT_EQ(airCorrection->placement->spinnerLeft, 203);

    const Binding* angle = findBinding("UpDownPolohaAAngle", 14);
    ASSERT_NE(angle, nullptr);
    EXPECT_EQ(angle->placement->topAnchor, "LabelPolohaA_2");
    EXPECT_EQ(angle->placement->left, 14 * 60 + 44);
    EXPECT_EQ(angle->placement->spinnerLeft, 14 * 60 + 84);

    const Binding* idle = findBinding("UpDownIdleRpmPoz", 5);
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->placement->topAnchor, "LabelIdleRpmPoz1");
    EXPECT_EQ(idle->placement->top, 5 * 39 - 4);
    EXPECT_EQ(idle->placement->spinnerLeft, 30 + 42);  // right of its edit
    EXPECT_EQ(idle->startPosition, 1000);
    EXPECT_EQ(idle->fieldIndex, 5);

    const Binding* fan = findBinding("UpDownFan1");
    ASSERT_NE(fan, nullptr);
    EXPECT_FALSE(fan->placement);
    EXPECT_EQ(fan->edit, "EditFan1");
    EXPECT_EQ(findBinding("UpDownFan1", 0), nullptr);
    EXPECT_EQ(findBinding("UpDownKorVoda", 5), nullptr);
}

TEST(PageBindings, TableEditorsAreBuiltRowByRowWithinEachGroup) {
    const auto order = tableEditorBuildOrder();
    std::size_t runTime = 0;
    for (const Binding& b : allBindings()) runTime += b.placement ? 1 : 0;
    ASSERT_EQ(order.size(), runTime);
    EXPECT_EQ(std::set<const Binding*>(order.begin(), order.end()).size(), runTime);

    // The injection position: the whole speed row, then the angle row.
    EXPECT_EQ(order[14]->control, "UpDownPolohaARpm");
    EXPECT_EQ(order[15]->control, "UpDownPolohaAAngle");
    EXPECT_EQ(order[15]->element, 0);
    // Two-column groups alternate within a row.
    EXPECT_EQ(order[30]->control, "UpDownKorVoda");
    EXPECT_EQ(order[31]->control, "UpDownKorVzduch");
    EXPECT_EQ(order[32]->control, "UpDownKorVoda");
    EXPECT_EQ(order[32]->element, 1);
    EXPECT_EQ(order.back()->control, "UpDownIdleRpmPoz");
}

}  // namespace
}  // namespace zelvor::editing
