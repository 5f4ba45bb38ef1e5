#include "editing/view_rules.h"

#include <gtest/gtest.h>

#include <optional>

namespace zelvor::editing {
namespace {

using model::Field;
using model::ParameterImage;

std::optional<bool> valueOf(const std::vector<ViewSetting>& settings, std::string_view control,
                            int element, ViewProperty property) {
    for (const ViewSetting& s : settings) {
        if (s.control == control && s.element == element && s.property == property) return s.value;
    }
    return std::nullopt;
}

TEST(ViewRules, NitrousGroupsFollowTheEnableFlag) {
    ParameterImage image;
    auto settings = applyPageViewRules(image, 0);
    EXPECT_EQ(valueOf(settings, "GroupBoxGas", -1, ViewProperty::Visible), false);
    EXPECT_EQ(valueOf(settings, "GroupBoxRetard", -1, ViewProperty::Visible), false);
    image.set(Field::N2O_Gas, 1);
    settings = applyPageViewRules(image, 0);
    EXPECT_EQ(valueOf(settings, "GroupBoxGas", -1, ViewProperty::Visible), true);
    EXPECT_EQ(valueOf(settings, "GroupBoxRetard", -1, ViewProperty::Visible), true);
    EXPECT_EQ(valueOf(settings, "LabelSnimacCmps", -1, ViewProperty::Enabled), true);
}

TEST(ViewRules, TemperatureDisplayIsForcedOffAndDisabled) {
    ParameterImage image;
    image.set(Field::DISPLAY_TempDisplay, 1);
    const auto settings = applyPageViewRules(image, 0);
    EXPECT_EQ(image.get(Field::DISPLAY_TempDisplay), 0);
    EXPECT_EQ(valueOf(settings, "CheckBoxTempDisplay", -1, ViewProperty::Enabled), false);
    EXPECT_EQ(valueOf(settings, "CheckBoxTempDisplay", -1, ViewProperty::Checked), false);
}

TEST(ViewRules, GearControlsAreShownUpToTheNumberOfGears) {
    for (unsigned gears = 1; gears <= 6; ++gears) {
        SCOPED_TRACE(gears);
        ParameterImage image;
        image.set(Field::GEAR_PocetGear, gears);
        const auto settings = applyPageViewRules(image, 0);
        for (int n = 2; n <= 6; ++n) {
            const bool shown = n <= static_cast<int>(gears);
            const std::string suffix = std::to_string(n);
            for (std::string_view stem :
                 {"ButtonGear", "LabelPomerRpmSpeed", "LabelMonPomerRpmSpeedAuto", "LabelGearKor",
                  "LabelMonGearAuto"}) {
                EXPECT_EQ(valueOf(settings, std::string(stem) + suffix, -1, ViewProperty::Visible),
                          shown)
                    << stem << n;
            }
            for (std::string_view array :
                 {"EditPomerRpmSpeed", "UpDownPomerRpmSpeed", "EditGearKorAdv", "UpDownGearKorAdv",
                  "EditGearKorJet", "UpDownGearKorJet"}) {
                EXPECT_EQ(valueOf(settings, array, n - 1, ViewProperty::Visible), shown)
                    << array << n;
            }
        }
        // Gear 1 is never hidden.
        EXPECT_FALSE(valueOf(settings, "ButtonGear1", -1, ViewProperty::Visible));
        EXPECT_FALSE(valueOf(settings, "UpDownGearKorJet", 0, ViewProperty::Visible));
    }
}

TEST(ViewRules, MemoScrollsBeyondThirteenLines) {
    ParameterImage image;
    EXPECT_EQ(valueOf(applyPageViewRules(image, 13), "Memo1", -1, ViewProperty::VerticalScrollBar),
              false);
    EXPECT_EQ(valueOf(applyPageViewRules(image, 14), "Memo1", -1, ViewProperty::VerticalScrollBar),
              true);
}

}  // namespace
}  // namespace zelvor::editing
