#include "link/monitor_decoder.h"

#include <algorithm>

#include "link/link_frame.h"

namespace zelvor::link {

namespace {

using C = MonitorChannel;
using F = MonitorFlag;

std::uint16_t kept(const MonitorSample& sample, MonitorChannel channel) {
    return static_cast<std::uint16_t>(sample.stored(channel));
}

}  // namespace

bool MonitorDecoder::decode(std::span<const std::uint8_t> batch) {
    if (batch.size() < LinkFrame::kSize) return false;
    const LinkFrame frame = LinkFrame::fromBytes(
        std::span<const std::uint8_t, LinkFrame::kSize>(batch.first(LinkFrame::kSize)));
    if (!frame.checkOk()) return false;
    sample_ = MonitorSample(frame);

    // Still the engine speed of the previous answer.
    injectorDuty_ = live_.engineSpeed *
                    std::max(sample_.stored(C::Injection1), sample_.stored(C::Injection2)) / 12000;

    // A missing coolant sensor is kept as 80 C (its rule's stored 180), so
    // the corrections go on with the unit's own replacement; a broken air
    // sensor keeps the unit's reading.
    live_.engineSpeed = kept(sample_, C::EngineSpeed);
    live_.throttlePercent = kept(sample_, C::Throttle);
    live_.throttleSensorMv = kept(sample_, C::ThrottleSensor);
    live_.coolantRaw = kept(sample_, C::Coolant);
    live_.airRaw = kept(sample_, C::Air);
    live_.gear = kept(sample_, C::Gear);
    live_.timeSinceStart = kept(sample_, C::TimeSinceStart);
    live_.speedRatio = kept(sample_, C::SpeedRatio);
    live_.savingCount = kept(sample_, C::SavingCount);
    live_.unitVersion = static_cast<std::uint8_t>(sample_.stored(C::UnitVersion));
    live_.ignitionLimiter = sample_.active(F::IgnitionLimiter);
    live_.injectionLimiter = sample_.active(F::InjectionLimiter);
    live_.retardLimiter = sample_.active(F::RetardLimiter);
    live_.baseAdvance = sample_.active(F::BaseAdvance);
    live_.throttleFault = sample_.active(F::ThrottleFault);
    live_.pressureFault = sample_.active(F::PressureFault);
    ++framesDecoded_;
    return true;
}

}  // namespace zelvor::link
