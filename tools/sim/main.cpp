// zelvor-sim: the simulated ignition unit on a pseudo-terminal.

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/parameter_file_io.h"
#include "sim/block_store.h"
#include "sim/default_image.h"
#include "sim/device_link.h"
#include "sim/pseudo_terminal.h"
#include "sim/sim_options.h"
#include "sim/sim_server.h"
#include "sim/sim_unit.h"

namespace {

using namespace zelvor::sim;

// The unit's blocks: from the image file when there is one, else built in.
std::optional<BlockStore> initialStore(const SimOptions& options) {
    if (!options.imagePath) return BlockStore();
    const ImageFileRead read = readImageFile(*options.imagePath);
    switch (read.status) {
        case ImageFileRead::Status::Loaded:
            return BlockStore(read.image);
        case ImageFileRead::Status::Missing:
            return BlockStore();
        case ImageFileRead::Status::Invalid:
            break;
    }
    std::cerr << "zelvor-sim: " << read.message << '\n';
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    SimOptionsParse parse = parseSimOptions(args);
    if (!parse.options) {
        std::cerr << "zelvor-sim: " << parse.error << "\nTry 'zelvor-sim --help'.\n";
        return 2;
    }
    SimOptions& options = *parse.options;
    if (options.help) {
        std::cout << simUsage();
        return 0;
    }
    if (options.exitWithParent) {
        // A front end that dies without stopping its unit leaves no orphan.
        const pid_t parent = ::getppid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) return 0;
    }
    std::optional<BlockStore> store = initialStore(options);
    if (!store) return 1;

    const StopSignals signals;
    std::string error;
    std::optional<PseudoTerminal> line = PseudoTerminal::create(error);
    if (!line) {
        std::cerr << "zelvor-sim: " << error << '\n';
        return 1;
    }
    const std::optional<DeviceLink> link =
        options.linkPath ? DeviceLink::create(*options.linkPath, line->devicePath(), error)
                         : std::nullopt;
    if (options.linkPath && !link) {
        std::cerr << "zelvor-sim: " << error << '\n';
        return 1;
    }
    std::cout << line->devicePath() << std::endl;

    UnitIdentity identity;
    identity.version = options.version;
    SimUnit unit(std::move(*store), identity, std::move(options.faults));
    EngineSetup engine;
    if (options.sweep) engine.sweep = RideSweep(options.cells.value_or(CellBlock{}));
    if (options.trueMapPath) {
        zelvor::model::ParameterImage trueTune = builtInImage();
        if (zelvor::model::loadParameterFile(*options.trueMapPath, trueTune) !=
            zelvor::model::LoadStatus::Loaded) {
            std::cerr << "zelvor-sim: cannot read the parameter file " << *options.trueMapPath
                      << '\n';
            return 1;
        }
        engine.probe = LambdaProbe(fuelNeedOf(trueTune));
    }
    unit.setEngine(std::move(engine));
    return serveUnit(unit, *line, options.imagePath, signals);
}
