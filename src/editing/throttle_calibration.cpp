#include "editing/throttle_calibration.h"

#include "model/field_table.h"

namespace zelvor::editing {

namespace {

struct VoltageWindow {
    unsigned lowest;
    unsigned highest;
};

// Voltages a sensor in working order gives at closed and at open throttle.
constexpr VoltageWindow kClosedThrottle{300, 2500};
constexpr VoltageWindow kOpenThrottle{2500, 4900};

bool takePoint(model::Field field, VoltageWindow window, unsigned millivolts,
               model::ParameterImage& image) {
    if (millivolts < window.lowest || millivolts > window.highest) return false;
    image.set(field, model::descriptor(field).toStored(static_cast<std::int32_t>(millivolts)));
    return true;
}

}  // namespace

bool takeThrottleClosedPoint(unsigned millivolts, model::ParameterImage& image) {
    return takePoint(model::Field::TPS_Tps0, kClosedThrottle, millivolts, image);
}

bool takeThrottleOpenPoint(unsigned millivolts, model::ParameterImage& image) {
    return takePoint(model::Field::TPS_Tps100, kOpenThrottle, millivolts, image);
}

}  // namespace zelvor::editing
