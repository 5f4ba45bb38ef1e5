#include "editing/view_rules.h"

#include <string_view>

namespace zelvor::editing {

namespace {

using model::Field;

// Controls of one gear whose names end in the gear number.
constexpr std::string_view kNamedGearControls[] = {
    "ButtonGear",   "LabelPomerRpmSpeed", "LabelMonPomerRpmSpeedAuto",
    "LabelGearKor", "LabelMonGearAuto",
};

// Run-time editor arrays with one element per gear (element = gear - 1).
constexpr std::string_view kGearEditorArrays[] = {
    "EditPomerRpmSpeed", "UpDownPomerRpmSpeed", "EditGearKorAdv",
    "UpDownGearKorAdv",  "EditGearKorJet",      "UpDownGearKorJet",
};

constexpr int kMemoLinesWithoutScrollBar = 13;
constexpr int kFirstHideableGear = 2;
constexpr int kLastGear = 6;

std::vector<ViewRule> buildRules() {
    using P = ViewProperty;
    using W = ViewCondition;
    std::vector<ViewRule> rules = {
        {"GroupBoxGas", -1, P::Visible, W::FieldNonZero, Field::N2O_Gas, 0},
        {"GroupBoxRetard", -1, P::Visible, W::FieldNonZero, Field::N2O_Gas, 0},
        {"LabelSnimacCmps", -1, P::Enabled, W::Always, Field::N2O_Gas, 0},
        {"CheckBoxTempDisplay", -1, P::Enabled, W::Never, Field::DISPLAY_TempDisplay, 0},
        {"CheckBoxTempDisplay", -1, P::Checked, W::Never, Field::DISPLAY_TempDisplay, 0},
        {"Memo1", -1, P::VerticalScrollBar, W::MemoLinesAbove, Field::MEMO_Text,
         kMemoLinesWithoutScrollBar},
    };
    for (int gear = kFirstHideableGear; gear <= kLastGear; ++gear) {
        for (std::string_view stem : kNamedGearControls) {
            rules.push_back({std::string(stem) + std::to_string(gear), -1, P::Visible,
                             W::FieldAtLeast, Field::GEAR_PocetGear, gear});
        }
        for (std::string_view array : kGearEditorArrays) {
            rules.push_back({std::string(array), gear - 1, P::Visible, W::FieldAtLeast,
                             Field::GEAR_PocetGear, gear});
        }
    }
    return rules;
}

bool holds(const ViewRule& rule, const model::ParameterImage& image, int memoLines) {
    switch (rule.condition) {
        case ViewCondition::Always:
            return true;
        case ViewCondition::Never:
            return false;
        case ViewCondition::FieldNonZero:
            return image.get(rule.field) != 0;
        case ViewCondition::FieldAtLeast:
            return image.get(rule.field) >= rule.threshold;
        case ViewCondition::MemoLinesAbove:
            return memoLines > rule.threshold;
    }
    return false;
}

}  // namespace

const std::vector<ViewRule>& pageViewRules() {
    static const std::vector<ViewRule> rules = buildRules();
    return rules;
}

std::vector<ViewSetting> applyPageViewRules(model::ParameterImage& image, int memoLines) {
    // The unit's temperature display option is not offered: it stays off.
    image.set(Field::DISPLAY_TempDisplay, 0);
    std::vector<ViewSetting> settings;
    settings.reserve(pageViewRules().size());
    for (const ViewRule& rule : pageViewRules()) {
        settings.push_back(
            {rule.control, rule.element, rule.property, holds(rule, image, memoLines)});
    }
    return settings;
}

}  // namespace zelvor::editing
