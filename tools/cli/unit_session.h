#pragma once

#include <iosfwd>
#include <string>

#include "cli/identification_text.h"
#include "cli/stop_signals.h"
#include "cli/transfer_run.h"
#include "command.h"
#include "i18n/messages.h"
#include "link/posix_serial_port.h"
#include "link/unit_identification.h"
#include "model/parameter_image.h"

namespace zelvor::cli {

// The unit on a serial device for one command: the port, the image the
// transfers move, and the transfer loop on the steady tick with its progress
// on standard output. SIGINT and SIGTERM stop a transfer at the next tick.
class UnitSession {
  public:
    explicit UnitSession(Io& io);
    UnitSession(const UnitSession&) = delete;
    UnitSession& operator=(const UnitSession&) = delete;

    // Reports "Com opening error!" with the reason when the device cannot be
    // used.
    bool open(const std::string& device);

    // Runs one transfer to its end. A failure is reported with its reason;
    // the success text is the caller's to print. exactImage moves the image
    // as it is instead of bringing it into range first.
    TransferOutcome run(TransferKind kind, bool exactImage);

    model::ParameterImage& image() { return image_; }
    const link::TransferEngine& engine() const { return transfer_.link().transfer(); }
    const link::UnitIdentification& identification() const { return engine().identification(); }

  private:
    Io& io_;
    const i18n::MessageTable messages_;
    link::PosixSerialPort port_;
    model::ParameterImage image_;
    TransferRun transfer_;
    const StopSignals stop_;
};

}  // namespace zelvor::cli
