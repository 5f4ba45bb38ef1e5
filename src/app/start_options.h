#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>

namespace zelvor::app {

// What the command line asks for. The first argument may name the language
// ("ENGLISH", "DEUTSCH", "FRENCH", "CESKY", exactly); one other argument that
// is not an option names a parameter file to open once the window is up;
// options:
//   --port DEVICE   use this device instead of the COM port mapping for this run
//   --simulate      start the simulated unit and connect to it
//   --sim-option X  pass X on to the simulated unit (repeatable)
//   --log FILE.csv  open this ride log in the log view
struct StartOptions {
    std::optional<std::uint8_t> language;
    std::optional<std::string> portDevice;
    bool simulate = false;
    std::vector<std::string> simulatorArguments;
    QString file;     // the parameter file to open; empty for none
    QString logFile;  // --log FILE.csv: a ride log to open in the log view
    bool help = false;
    QString error;  // an unknown option or a missing value
};

StartOptions parseStartOptions(const QStringList& arguments);  // without the program name

QString startOptionsUsage();

}  // namespace zelvor::app
