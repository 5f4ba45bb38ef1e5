#include "sim/pseudo_terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zelvor::sim {

namespace {

std::string failed(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

// Raw mode: no echo of what the client sends, no line editing, no character
// translation in either direction.
bool makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&settings, B57600);
    cfsetospeed(&settings, B57600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

std::optional<PseudoTerminal> PseudoTerminal::create(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = failed("posix_openpt");
        return std::nullopt;
    }
    const char* name = nullptr;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || (name = ptsname(master)) == nullptr) {
        error = failed("preparing the pseudo-terminal");
        ::close(master);
        return std::nullopt;
    }
    const std::string path = name;
    const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        error = failed(("opening " + path).c_str());
        ::close(master);
        return std::nullopt;
    }
    const int flags = fcntl(master, F_GETFL);
    if (!makeRaw(slave) || flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = failed("configuring the pseudo-terminal");
        ::close(slave);
        ::close(master);
        return std::nullopt;
    }
    return PseudoTerminal(master, slave, path);
}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : master_(other.master_), slave_(other.slave_), devicePath_(std::move(other.devicePath_)) {
    other.master_ = -1;
    other.slave_ = -1;
}

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

}  // namespace zelvor::sim
