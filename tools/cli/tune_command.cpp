#include "tune_command.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/tune_report.h"
#include "datalog/analysis_setting_table.h"
#include "datalog/log_reader.h"
#include "datalog/ride_analysis.h"
#include "datalog/tune_correction.h"
#include "history_keep.h"
#include "image_files.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::cli {

namespace {

constexpr Option kTuneOptions[] = {
    {"output", 'o', "NEW.ign", "the corrected parameter file to write (replaced as a whole)", true},
    {"report", 0, "", "print per cell the hits, the lean share and the change"},
    {"map", 0, "MAP",
     "the injection map to correct: inj1 (default), inj2 or both; while the "
     "maps are coupled or equal, map 2 follows map 1"},
    {"min-coolant", 0, "C", "leave out rows with a colder engine (default 70)"},
    {"skip-after-start", 0, "S",
     "leave out the first S seconds after the engine starts "
     "(default 30)"},
    {"max-tps-rate", 0, "P",
     "leave out rows where the throttle moves faster than P % per "
     "second (default 10)"},
    {"delay", 0, "MS", "the probe reads the gas of a cell MS milliseconds later (default 300)"},
    {"min-hits", 0, "N", "the weighted samples a cell needs for a change (default 10)"},
    {"measurable-below", 0, "PERCENT",
     "rows at this throttle and above are not measurable "
     "(default 60)"},
    {"target-mv", 0, "MV", "the probe's switch voltage (default 450)"},
    {"max-step", 0, "PERCENT", "the largest change of a cell in one pass (default 5)"},
};

// A number within [low, high], or nothing.
std::optional<double> parseNumber(std::string_view text, double low, double high) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value) || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string formatRange(double low, double high) {
    const auto text = [](double v) {
        std::string s = std::to_string(v);
        while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.')) {
            const bool point = s.back() == '.';
            s.pop_back();
            if (point) break;
        }
        return s;
    };
    return text(low) + ".." + text(high);
}

// Takes the analysis settings from the options; reports the first bad one.
bool readSettings(const Command& command, const Arguments& arguments,
                  datalog::AnalysisSettings& settings, Io& io) {
    for (const datalog::AnalysisSetting& setting : datalog::analysisSettings()) {
        const std::optional<std::string> text = arguments.value(setting.option);
        if (!text) continue;
        const std::optional<double> value = parseNumber(*text, setting.low, setting.high);
        if (!value || !datalog::acceptsValue(setting, *value)) {
            usageError(command,
                       "--" + std::string(setting.option) + " takes " +
                           (setting.whole ? "a whole number " : "a number ") +
                           formatRange(setting.low, setting.high) + ", not '" + *text + "'",
                       io);
            return false;
        }
        setting.set(settings, *value);
    }
    return true;
}

int runTuneFromLog(const Command& command, const Arguments& arguments, Io& io) {
    datalog::AnalysisSettings settings;
    if (!readSettings(command, arguments, settings, io)) return kExitError;
    datalog::CorrectedMaps maps = datalog::CorrectedMaps::Map1;
    if (const std::optional<std::string> map = arguments.value("map")) {
        if (*map == "inj2") {
            maps = datalog::CorrectedMaps::Map2;
        } else if (*map == "both") {
            maps = datalog::CorrectedMaps::Both;
        } else if (*map != "inj1") {
            return usageError(command, "--map takes inj1, inj2 or both, not '" + *map + "'", io);
        }
    }
    std::optional<model::ParameterImage> tune = loadParameterFile(arguments.positional[0], io.err);
    if (!tune) return kExitError;
    model::sanitize(*tune);

    std::vector<datalog::RideLog> logs;
    for (std::size_t i = 1; i < arguments.positional.size(); ++i) {
        const std::string& path = arguments.positional[i];
        datalog::LogReadResult read = datalog::readRideLog(path);
        if (!read.log) {
            io.err << "zelvor-cli: " << path << ": " << read.error << "\n";
            return kExitError;
        }
        for (const std::string& note : read.log->notes) {
            io.err << "zelvor-cli: " << path << ": " << note << "\n";
        }
        logs.push_back(std::move(*read.log));
    }
    const datalog::RideFindings findings = datalog::analyseRide(logs, *tune, settings);
    const datalog::CorrectionPlan plan = datalog::planCorrection(*tune, findings, maps);
    const model::ParameterImage corrected = datalog::applyCorrection(*tune, plan);
    if (arguments.has("report")) io.out << tuneReport(*tune, findings, plan);
    const std::string output = *arguments.value("output");
    if (!writeOutput(output, model::formatParameterFile(corrected), io.err)) return kExitError;
    keepSnapshot(history::Event::Save, output, nullptr, corrected, io.err);
    return kExitOk;
}

constexpr std::array<Command, 1> kTuneCommands = {{
    {"tune-from-log", "TUNE.ign LOG.csv...",
     "suggest injection corrections per cell from ride logs of the tune and write the corrected "
     "tune: each measurable cell with enough samples moves toward an even split of rich and lean "
     "probe samples",
     kTuneOptions, 2, 10000, runTuneFromLog},
}};

}  // namespace

std::span<const Command> tuneCommands() {
    return kTuneCommands;
}

}  // namespace zelvor::cli
