// A parameter file laid over what a unit holds, as verify and program do.
#include "cli/unit_overlay.h"

#include <gtest/gtest.h>

#include <string>

#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "sim/default_image.h"

namespace zelvor::cli {
namespace {

using model::Field;
using model::ParameterImage;

const std::string kMagic = "ZARBOLIK_KEY    63 \r\n";

void setMemo(ParameterImage& image, const std::string& bytes) {
    for (std::size_t i = 0; i < 199; ++i) {
        image.set(Field::MEMO_Text, i, i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0);
    }
}

// A unit with what a file cannot carry: constants of its own, reserved bytes,
// a memo with leading spaces and bytes after its end, and a nitrous switch a
// file writes as 1.
ParameterImage unit() {
    ParameterImage image = sim::builtInImage();
    image.set(Field::FIXED_Byte4, 77);
    image.set(Field::FIXED_Table214, 8, 4321);
    image.setByte(1, 0xA5);
    image.setByte(1349, 0x5A);
    setMemo(image, std::string("  two spaces\r\nfirst\0old text", 27));
    image.set(Field::N2O_Gas, 5);
    return image;
}

TEST(UnitOverlay, AFileWrittenFromTheUnitGivesTheUnitBackExactly) {
    const ParameterImage held = unit();
    EXPECT_EQ(layFileOverUnit(model::formatParameterFile(held), held), held);
}

TEST(UnitOverlay, EditedValuesAndTextReplaceOnlyThemselves) {
    const ParameterImage held = unit();
    ParameterImage edited = held;
    edited.set(Field::LIMITER_IgnLimiter, 99);
    edited.set(Field::N2O_Gas, 0);
    setMemo(edited, "new");
    ParameterImage expected = held;
    expected.set(Field::LIMITER_IgnLimiter, 99);
    expected.set(Field::N2O_Gas, 0);
    setMemo(expected, "new");
    EXPECT_EQ(layFileOverUnit(model::formatParameterFile(edited), held), expected);
}

TEST(UnitOverlay, SectionsAFileLacksStayAsTheUnitHasThem) {
    const ParameterImage held = unit();
    ParameterImage expected = held;
    expected.set(Field::FAN_Fan1, 90);
    expected.set(Field::FAN_Fan2, 91);
    EXPECT_EQ(layFileOverUnit(kMagic + "FAN 90 91", held), expected);
}

TEST(UnitOverlay, AFileOfAnotherBikeBringsItsConstantsAndPins) {
    const ParameterImage held = unit();
    const ParameterImage result = layFileOverUnit(kMagic + "BIKE 6", held);
    EXPECT_EQ(result.get(Field::BIKE_BikeType), 6);
    EXPECT_EQ(result.get(Field::FIXED_Byte4), 19);
    EXPECT_EQ(result.get(Field::INPUTS_PinBody11), 1) << "Lambda Heat";
    EXPECT_EQ(result.get(Field::FIXED_Table214, 8), 4321) << "constants of every bike stay";
    EXPECT_EQ(result.byte(1), 0xA5);
}

}  // namespace
}  // namespace zelvor::cli
