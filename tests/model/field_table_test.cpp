#include "model/field_table.h"

#include <gtest/gtest.h>

namespace zelvor::model {
namespace {

struct Conversion {
    Field field;
    unsigned stored;
    std::int32_t engineering;
};

// Stored values and what a tuner sees, both ways.
constexpr Conversion kConversions[] = {
    {Field::TPS_Tps100, 0, 2500},
    {Field::TPS_Tps100, 250, 5000},
    {Field::TPS_Tps100, 223, 4730},
    {Field::TPS_Tps0, 34, 340},
    {Field::RPM_RpmKorekce, 100, 0},
    {Field::RPM_RpmKorekce, 40, -60},
    {Field::RPM_RpmKorekce, 160, 60},
    {Field::GEAR_CORR_GearKorAdv, 80, -20},
    {Field::ADVANCE_CORR_IgnVoda, 120, 20},
    {Field::IDLE_IdleRpmPoz, 50, 1000},
    {Field::IDLE_IdleRpmPoz, 250, 3000},
    {Field::IDLE_IdleRpmMez, 0, 500},
    {Field::IDLE_IdleStepPerioda, 6, 1500},
    {Field::CHOKE_SyticKorekce, 250, 350},
    {Field::CHOKE_SyticKorekce, 50, 150},
    {Field::POSITION_A_Angle, 144, 720},
    {Field::CLUTCH_ClutchPause, 250, 2500},
    {Field::LIMITER_StartLimiter, 70, 7000},
    {Field::ACCEL_AkcelJet, 150, 7500},
    {Field::GEAR_PomerRpmSpeed, 32000, 32000},
};

TEST(FieldSemantics, StoredAndEngineeringValuesConvertBothWays) {
    for (const Conversion& c : kConversions) {
        SCOPED_TRACE(qualifiedName(c.field) + " " + std::to_string(c.engineering));
        const FieldDescriptor& d = descriptor(c.field);
        EXPECT_EQ(d.toEngineering(c.stored), c.engineering);
        EXPECT_EQ(d.toStored(c.engineering), c.stored);
    }
}

// Between the steps the two orders part: the throttle's 100 % point divides
// before it takes its bias off, the idle speeds take it off first. Results
// below zero are kept modulo the width.
TEST(FieldSemantics, ValuesBetweenStepsTruncateInTheFieldsOwnOrder) {
    const FieldDescriptor& tps = descriptor(Field::TPS_Tps100);
    EXPECT_EQ(tps.toStored(2509), 0u);
    EXPECT_EQ(tps.toStored(2495), 255u);  // 249 - 250
    EXPECT_EQ(tps.toStored(0), 6u);       // -250 in a byte
    const FieldDescriptor& idle = descriptor(Field::IDLE_IdleRpmMez);
    EXPECT_EQ(idle.toStored(509), 0u);
    EXPECT_EQ(idle.toStored(495), 0u);  // -5 / 10 truncates to 0
    EXPECT_EQ(idle.toStored(400), 246u);
    EXPECT_EQ(descriptor(Field::RPM_RpmKorekce).toStored(-120), 236u);
    EXPECT_EQ(descriptor(Field::APS_ApsTlak1).toStored(70000), 70000u - 65536u);
}

// Every value an editor offers stands for one stored value of its own:
// stepping through a field's range never wraps, skips or repeats.
TEST(FieldSemantics, EveryEditorValueIsOneStoredValue) {
    for (const FieldDescriptor& d : kFieldTable) {
        SCOPED_TRACE(qualifiedName(d.id));
        const EditorRange& r = d.range;
        ASSERT_GT(r.step, 0);
        ASSERT_EQ((r.maximum - r.minimum) % r.step, 0);
        unsigned previous = 0;
        for (std::int32_t v = r.minimum; v <= r.maximum; v += r.step) {
            const unsigned stored = d.toStored(v);
            ASSERT_LE(stored, d.storedMask()) << v;
            ASSERT_EQ(d.toEngineering(stored), v) << v;
            if (v > r.minimum) {
                ASSERT_GT(stored, previous) << v;
            }
            previous = stored;
        }
    }
}

}  // namespace
}  // namespace zelvor::model
