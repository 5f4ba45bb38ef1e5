#include "sim/sim_options.h"

#include <charconv>

namespace zelvor::sim {

namespace {

std::optional<std::uint8_t> parseVersion(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

SimOptionsParse failure(std::string message) {
    return SimOptionsParse{std::nullopt, std::move(message)};
}

}  // namespace

SimOptionsParse parseSimOptions(std::span<const std::string_view> args) {
    SimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "--exit-with-parent") {
            if (value) return failure("option --exit-with-parent takes no value");
            options.exitWithParent = true;
            continue;
        }
        if (name == "--help" || name == "-h") {
            if (value) return failure("option --help takes no value");
            options.help = true;
            continue;
        }
        if (name != "--link" && name != "--image" && name != "--version" && name != "--fault" &&
            name != "--true-map" && name != "--ride" && name != "--cells") {
            return failure("unknown option '" + std::string(args[i]) + "'");
        }
        if (!value) {
            if (i + 1 == args.size())
                return failure("option " + std::string(name) + " needs a value");
            value = args[++i];
        }
        if (name == "--link" || name == "--image") {
            if (value->empty()) return failure("option " + std::string(name) + " needs a path");
            (name == "--link" ? options.linkPath : options.imagePath) = std::string(*value);
        } else if (name == "--true-map") {
            if (value->empty()) return failure("option --true-map needs a path");
            options.trueMapPath = std::string(*value);
        } else if (name == "--ride") {
            if (*value != "sweep" && *value != "road") {
                return failure("--ride takes sweep or road, not '" + std::string(*value) + "'");
            }
            options.sweep = *value == "sweep";
        } else if (name == "--cells") {
            std::string error;
            options.cells = parseCellBlock(*value, error);
            if (!options.cells) return failure(error);
        } else if (name == "--version") {
            const std::optional<std::uint8_t> version = parseVersion(*value);
            if (!version) return failure("--version needs a number 0..255");
            options.version = *version;
        } else {
            std::string error;
            const std::optional<Fault> fault = parseFault(*value, error);
            if (!fault) return failure(error);
            options.faults.add(*fault);
        }
    }
    if (options.cells && !options.sweep) return failure("--cells needs --ride sweep");
    return SimOptionsParse{std::move(options), {}};
}

std::string simUsage() {
    return "Usage: zelvor-sim [options]\n"
           "Simulates the ignition unit on a pseudo-terminal. The first line of output is\n"
           "the device to open; the unit answers until SIGTERM or SIGINT.\n"
           "\n"
           "  --link PATH         also make PATH a symbolic link to the device\n"
           "  --image FILE        keep the unit's 1350 parameter bytes in FILE: loaded at\n"
           "                      start if present, written after every programming\n"
           "  --version N         program version the unit reports (default 63)\n"
           "  --fault KIND[=N]    put faults on the answers (repeatable):\n"
           "                        drop=N           every N-th answer is not sent\n"
           "                        corrupt=N        every N-th answer has one byte changed\n"
           "                        wrong-command=N  every N-th answer has a wrong command\n"
           "                        stray=N          stray bytes before every N-th answer\n"
           "                        echo-mismatch=B  the echo of programmed block B differs\n"
           "                        silent           never answer\n"
           "  --true-map FILE     injection map 1 of the parameter file FILE is what the\n"
           "                      engine needs: the lambda voltage follows the fuel the\n"
           "                      unit injects from its own map 1 against that need\n"
           "                      (narrow band: about 100 mV lean, 850 mV rich)\n"
           "  --ride road|sweep   road (default): a ride that repeats every 48 s; sweep:\n"
           "                      the warm engine held 5 s at the centre of each cell of\n"
           "                      map 1 below 60 % throttle in turn, row by row\n"
           "  --cells R0-R1,C0-C1 the sweep visits only these rows and columns\n"
           "  --exit-with-parent  stop when the program that started it ends\n"
           "  --help              show this text\n";
}

}  // namespace zelvor::sim
