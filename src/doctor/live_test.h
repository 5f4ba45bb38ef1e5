#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace zelvor::doctor {

// How long the live test waits for the unit: the program's tick and the
// number of ticks an answer may take (two request cycles of the link).
struct LiveTestTiming {
    std::chrono::milliseconds tick{55};
    int ticks = 12;
};

struct LiveTestResult {
    bool opened = false;
    std::string openError;          // the system's reason when the port did not open
    int openErrno = 0;              // its error number, 0 when unknown
    bool answered = false;          // a monitor answer with a correct check byte came
    int unitVersion = 0;            // the program version in that answer
    std::size_t bytesReceived = 0;  // also counts bytes that made no answer
    int ticksWaited = 0;
};

// Opens the device as the program does (57600 baud 8N1), sends one monitor
// request as the link sends it while idle and waits up to the ticks given for
// the answer, which the link's monitor decoder takes apart.
LiveTestResult runLiveTest(const std::string& devicePath, const LiveTestTiming& timing = {});

}  // namespace zelvor::doctor
