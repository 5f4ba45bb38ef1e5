#pragma once

#include <optional>
#include <string>

namespace zelvor::sim {

// A pseudo-terminal pair standing in for the serial line: the simulator works
// the master side, a client opens the slave device like any serial port. The
// simulator keeps its own slave descriptor open so the line stays up while no
// client has it open (otherwise the master would see a hang-up between
// clients).
class PseudoTerminal {
  public:
    // Creates the pair in raw 57600 baud mode; on failure returns nothing and
    // sets error.
    static std::optional<PseudoTerminal> create(std::string& error);

    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;
    PseudoTerminal(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    // Non-blocking master descriptor.
    int masterFd() const { return master_; }
    // Path of the slave device, for example /dev/pts/3.
    const std::string& devicePath() const { return devicePath_; }

  private:
    PseudoTerminal(int master, int slave, std::string devicePath)
        : master_(master), slave_(slave), devicePath_(std::move(devicePath)) {}

    int master_ = -1;
    int slave_ = -1;
    std::string devicePath_;
};

}  // namespace zelvor::sim
