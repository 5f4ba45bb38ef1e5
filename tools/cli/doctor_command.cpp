#include "doctor_command.h"

#include <unistd.h>

#include <array>
#include <ostream>

#include "doctor/doctor_report.h"

namespace zelvor::cli {

namespace {

constexpr Option kDoctorOptions[] = {
    {"port", 0, "DEVICE",
     "check this device only and test whether a unit answers on it: a path such as "
     "/dev/ttyUSB0, or a name from /dev/serial/by-id"},
};

int runDoctorCommand(const Command&, const Arguments& arguments, Io& io) {
    doctor::DoctorRequest request;
    request.user = doctor::UserIdentity::current();
    request.self = ::getpid();
    request.port = arguments.value("port");
    const bool answered = doctor::runDoctor(request, io.out);
    if (!io.out) return kExitError;
    return answered ? kExitOk : kExitNoUnit;
}

constexpr std::array<Command, 1> kDoctorCommands = {{
    {"doctor", "",
     "list the serial devices, say what keeps a port from opening and how to mend it, and test "
     "whether a unit answers; exit 0 when one does, 1 otherwise",
     kDoctorOptions, 0, 0, runDoctorCommand},
}};

}  // namespace

std::span<const Command> doctorCommands() {
    return kDoctorCommands;
}

}  // namespace zelvor::cli
