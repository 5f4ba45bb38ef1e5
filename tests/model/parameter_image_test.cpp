#include <gtest/gtest.h>

#include <set>

#include "model/field_table.h"
#include "model/parameter_image.h"

namespace zelvor::model {
namespace {

TEST(ParameterImage, StartsZeroedAndSplitsIntoNineBlocks) {
    ParameterImage image;
    for (std::uint8_t b : image.bytes()) EXPECT_EQ(b, 0);
    image.setByte(1049, 7);
    image.setByte(1050, 8);
    EXPECT_EQ(image.block(7)[149], 7);
    EXPECT_EQ(image.block(8)[0], 8);
    EXPECT_EQ(ParameterImage::blockOf(1150), 8);  // the memo starts in block 8
    EXPECT_EQ(ParameterImage::blockOf(1349), 9);  // and ends in block 9
    EXPECT_THROW(image.block(0), std::out_of_range);
    EXPECT_THROW(image.block(10), std::out_of_range);
}

TEST(ParameterImage, WordsAreLittleEndian) {
    ParameterImage image;
    image.setByte(162, 0x34);
    image.setByte(163, 0x12);
    EXPECT_EQ(image.word(162), 0x1234);
    EXPECT_EQ(image.get(Field::GEAR_PomerRpmSpeed, 0), 0x1234);
    image.set(Field::GEAR_PomerRpmSpeed, 5, 0xBEEF);
    EXPECT_EQ(image.byte(172), 0xEF);
    EXPECT_EQ(image.byte(173), 0xBE);
}

TEST(ParameterImage, NamedAccessWrapsByteFieldsAndRejectsBadIndex) {
    ParameterImage image;
    image.set(Field::LIMITER_IgnLimiter, 300);
    EXPECT_EQ(image.get(Field::LIMITER_IgnLimiter), 300 % 256);
    image.set(Field::ADVANCE_Cell, 149, 60);
    EXPECT_EQ(image.byte(549), 60);
    EXPECT_THROW(image.get(Field::ADVANCE_Cell, 150), std::out_of_range);
    EXPECT_THROW(image.set(Field::BIKE_BikeType, 1, 0), std::out_of_range);
}

TEST(FieldTable, ReservedBytesAreExactlyThoseOfNoField) {
    std::set<std::size_t> expected = {1, 46, 158, 159, 238, 263, 264, 273, 274};
    auto addRange = [&](std::size_t from, std::size_t to) {
        for (std::size_t o = from; o <= to; ++o) expected.insert(o);
    };
    addRange(15, 24);
    addRange(48, 55);
    addRange(57, 66);
    addRange(75, 79);
    addRange(139, 153);
    addRange(186, 190);
    addRange(248, 251);
    addRange(255, 260);
    addRange(277, 304);
    addRange(380, 399);
    std::set<std::size_t> reserved;
    for (std::size_t o = 0; o < ParameterImage::kSize; ++o) {
        if (isReservedOffset(o)) reserved.insert(o);
    }
    EXPECT_EQ(reserved, expected);
}

TEST(FieldTable, FindsFieldsByQualifiedName) {
    EXPECT_EQ(findField("LIMITER.IgnLimiter"), Field::LIMITER_IgnLimiter);
    EXPECT_EQ(findField("JET_1A.Cell"), Field::JET_1A_Cell);
    EXPECT_EQ(findField("limiter.IgnLimiter"), std::nullopt);
    EXPECT_EQ(findField("LIMITER"), std::nullopt);
    for (const FieldDescriptor& d : kFieldTable) {
        EXPECT_EQ(findField(qualifiedName(d.id)), d.id) << qualifiedName(d.id);
    }
}

TEST(FieldTable, KnownOffsetsAndScalings) {
    EXPECT_EQ(descriptor(Field::TPS_Tps100).offset, 34);
    EXPECT_EQ(descriptor(Field::TPS_Tps100).bias, 2500);
    EXPECT_EQ(descriptor(Field::IDLE_IdleRpmPoz).offsetOf(5), 247);
    EXPECT_EQ(descriptor(Field::JET_2A_Cell).offsetOf(149), 1148);
    EXPECT_EQ(descriptor(Field::MEMO_Text).byteLength(), 199);
    EXPECT_TRUE(descriptor(Field::GEAR_CORR_GearKorAdv).isSigned());
    EXPECT_FALSE(descriptor(Field::CHOKE_SyticKorekce).isSigned());
}

}  // namespace
}  // namespace zelvor::model
