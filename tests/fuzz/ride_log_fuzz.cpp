// Feeds arbitrary bytes to the ride log reader, which reads files a power cut,
// a spreadsheet or another program may have left in any state. Besides the
// sanitizers' checks it aborts when a log it accepts does not come back the
// same after being written and read again, when it accepts a row outside the
// map or with time going back, and when a refusal names no line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "datalog/log_format.h"
#include "datalog/log_reader.h"
#include "datalog/ride_analysis.h"
#include "model/parameter_image.h"

using namespace zelvor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const datalog::LogReadResult read = datalog::parseRideLog(text);
    if (!read.log) {
        if (read.error.empty()) std::abort();
        if (read.error.rfind("line ", 0) != 0 && read.error.rfind("the file is empty", 0) != 0)
            std::abort();
        return 0;
    }
    std::string again = datalog::logHeader() + "\n";
    std::int64_t last = 0;
    for (const datalog::LogRow& row : read.log->rows) {
        if (row.timeMs < last) std::abort();
        last = row.timeMs;
        for (const datalog::LitCell& cell : row.cells) {
            if (cell.row > 9 || cell.column > 14 || cell.rowPosition > 1000 ||
                cell.columnPosition > 1000)
                std::abort();
        }
        again += datalog::logLine(row) + "\n";
    }
    const datalog::LogReadResult reread = datalog::parseRideLog(again);
    if (!reread.log || reread.log->rows.size() != read.log->rows.size()) std::abort();
    for (std::size_t i = 0; i < reread.log->rows.size(); ++i) {
        datalog::LogRow expected = read.log->rows[i];
        // Line breaks in a marker become blanks.
        for (char& c : expected.marker) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        const datalog::LogRow& got = reread.log->rows[i];
        if (got.timeMs != expected.timeMs || got.values != expected.values ||
            got.error != expected.error || got.cells != expected.cells ||
            got.flags != expected.flags)
            std::abort();
        if (got.marker != expected.marker) std::abort();
    }
    // Whatever the reader accepts, the analysis takes.
    const model::ParameterImage tune;
    const std::vector<datalog::RideLog> logs = {*read.log};
    (void)datalog::analyseRide(logs, tune, datalog::AnalysisSettings{});
    return 0;
}
