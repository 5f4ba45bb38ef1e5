#pragma once

#include <sys/types.h>

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "doctor/live_test.h"
#include "doctor/port_diagnosis.h"
#include "doctor/serial_survey.h"
#include "doctor/system_roots.h"
#include "doctor/user_identity.h"

namespace zelvor::doctor {

// What the doctor is asked to do and with what.
struct DoctorRequest {
    SystemRoots roots;
    UserIdentity user;
    pid_t self = 0;
    std::optional<std::string> port;  // one device; otherwise every device found
    bool liveTest = true;
    LiveTestTiming timing;
    // The devices when the program started, to say which came or went since
    // (an adapter plugged in again may come back under another name).
    std::optional<std::vector<SerialDevice>> devicesAtStart;
};

// Writes the survey, the findings of each device with their remedies and the
// live test as lines for a tuner. Returns whether a unit answered.
bool runDoctor(const DoctorRequest& request, std::ostream& out);

// The parts of the report, for callers that show them elsewhere.
void writeSurvey(const std::vector<SerialDevice>& devices, std::ostream& out);
void writeSurveyChange(const SurveyChange& change, std::ostream& out);
void writeFindings(const std::vector<Finding>& findings, std::ostream& out);
void writeLiveTest(const std::string& device, const LiveTestResult& result,
                   const LiveTestTiming& timing, std::ostream& out);

}  // namespace zelvor::doctor
