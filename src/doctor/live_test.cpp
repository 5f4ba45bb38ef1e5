#include "doctor/live_test.h"

#include <cerrno>
#include <thread>

#include "link/link_frame.h"
#include "link/posix_serial_port.h"
#include "link/tapped_port.h"
#include "link/unit_link.h"
#include "model/parameter_image.h"

namespace zelvor::doctor {

LiveTestResult runLiveTest(const std::string& devicePath, const LiveTestTiming& timing) {
    LiveTestResult result;
    link::PosixSerialPort port;
    errno = 0;
    if (!port.open(devicePath)) {
        result.openErrno = errno;
        result.openError = port.lastReason();
        return result;
    }
    result.opened = true;

    link::TappedPort counted(port);
    model::ParameterImage image;
    link::UnitLink unitLink(image, counted);
    counted.purgeInput();
    counted.write(link::LinkFrame::make(link::LinkFrame::kMonitorPoll).bytes());

    const std::uint32_t decodedBefore = unitLink.monitor().framesDecoded();
    while (result.ticksWaited < timing.ticks && port.isOpen()) {
        std::this_thread::sleep_for(timing.tick);
        ++result.ticksWaited;
        unitLink.pollReceive();
        if (unitLink.monitor().framesDecoded() != decodedBefore) {
            result.answered = true;
            result.unitVersion = unitLink.monitor().live().unitVersion;
            break;
        }
    }
    // Bytes still queued that did not make a whole frame count too.
    result.bytesReceived = counted.bytesRead() + port.queuedBytes();
    return result;
}

}  // namespace zelvor::doctor
