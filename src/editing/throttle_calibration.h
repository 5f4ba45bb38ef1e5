#pragma once

#include "model/parameter_image.h"

namespace zelvor::editing {

// The throttle calibration buttons: the live throttle-sensor voltage becomes
// the 0 % point (TPS.Tps0) or the 100 % point (TPS.Tps100) when it lies where
// that point can be, 300..2500 mV for 0 % and 2500..4900 mV for 100 %.
// True when the point was taken (the change pipeline is to run); a voltage
// outside its window changes nothing.
bool takeThrottleClosedPoint(unsigned millivolts, model::ParameterImage& image);
bool takeThrottleOpenPoint(unsigned millivolts, model::ParameterImage& image);

}  // namespace zelvor::editing
