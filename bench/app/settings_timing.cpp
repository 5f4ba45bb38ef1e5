// Timing of the settings file: reading a Zelvor.ini with many sections at
// start-up (parse, the BASIC keys, the PORTS rows) and writing it back at
// close, for growing numbers of sections, so that the growth with the size of
// the file shows. Wall time and the process's processor time are both
// given, as a busy machine stretches the first.
//   zelvor-settings-timing [SECTIONS...]   (default 10000 20000 40000 80000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/settings/app_settings.h"
#include "app/settings/ini_document.h"

using namespace zelvor;

namespace {

// A settings file whose BASIC section comes last, after many sections of
// another program, each with two keys.
std::string settingsFileWithSections(long sections) {
    std::string text;
    for (long n = 0; n < sections; ++n) {
        text += "[Other" + std::to_string(n) + "]\r\nKey=1\r\nName=value\r\n";
    }
    text += "[PORTS]\r\nCOM3=/dev/ttyUSB1\r\n[BASIC]\r\nLeft=10\r\nComPort=5\r\n";
    return text;
}

struct Clocks {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t processor = std::clock();

    double wallMs() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall)
            .count();
    }
    double processorMs() const {
        return 1000.0 * static_cast<double>(std::clock() - processor) / CLOCKS_PER_SEC;
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::strtol(argv[i], nullptr, 10));
    if (counts.empty()) counts = {10000, 20000, 40000, 80000};

    std::printf("%10s %12s %12s %12s %12s %12s\n", "sections", "bytes", "read ms", "read cpu ms",
                "write ms", "write cpu ms");
    for (const long sections : counts) {
        const std::string text = settingsFileWithSections(sections);

        const Clocks reading;
        app::IniDocument ini = app::IniDocument::parse(text);
        const app::AppSettings settings = app::readAppSettings(ini, app::AppSettings{});
        const auto ports = ini.entries(app::kPortsSection);
        const double readMs = reading.wallMs();
        const double readCpuMs = reading.processorMs();

        const Clocks writing;
        app::writeAppSettings(ini, settings);
        const std::string written = ini.serialize();
        const double writeMs = writing.wallMs();
        const double writeCpuMs = writing.processorMs();

        if (settings.portIndex != 4 || ports.size() != 1 || written.size() < text.size() / 2) {
            std::fprintf(stderr, "settings read wrongly at %ld sections\n", sections);
            return 1;
        }
        std::printf("%10ld %12zu %12.1f %12.1f %12.1f %12.1f\n", sections, text.size(), readMs,
                    readCpuMs, writeMs, writeCpuMs);
    }
    return 0;
}
