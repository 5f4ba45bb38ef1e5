#pragma once

#include <array>
#include <string_view>

#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::model {

// The bike list; the index is the BikeType stored in image byte 0. The last
// row is the separator shown for a BikeType this program does not know.
inline constexpr std::array<std::string_view, 9> kBikeNames = {
    "Zelvor R1", "Zelvor R2",          "Zelvor N1", "Zelvor N1 & Lambda", "Zelvor N2",
    "Zelvor N3", "Zelvor N3 & Lambda", "Zelvor S1", "-------------"};
inline constexpr int kKnownBikeCount = 8;
inline constexpr int kSeparatorIndex = 8;

// Fills the image with the starting tune for its current BikeType: every
// default value, the retard limiter from the two limiters, injection maps at
// 100 % of their base times, and the bike update. BikeType, the gear system,
// the number of gears, the memo and the reserved bytes keep their values.
// The scaling's arrays are left as the default maps need them (all 100 %).
void loadDefaultSet(ParameterImage& image, InjectionScaling& scaling);
void loadDefaultSet(ParameterImage& image);

// The four unit constants that depend on the bike and, for a known bike, the
// functions of the three input pins.
void applyBikeUpdate(ParameterImage& image);

}  // namespace zelvor::model
