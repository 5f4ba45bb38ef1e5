#include "sim/fault_plan.h"

#include <array>
#include <charconv>

namespace zelvor::sim {

namespace {

struct KindName {
    std::string_view name;
    FaultKind kind;
};

constexpr std::array<KindName, 6> kKindNames = {{
    {"drop", FaultKind::Drop},
    {"corrupt", FaultKind::Corrupt},
    {"wrong-command", FaultKind::WrongCommand},
    {"stray", FaultKind::Stray},
    {"echo-mismatch", FaultKind::EchoMismatch},
    {"silent", FaultKind::Silent},
}};

std::optional<unsigned> parseNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
    return value;
}

}  // namespace

std::optional<Fault> parseFault(std::string_view text, std::string& error) {
    const std::size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const KindName* match = nullptr;
    for (const KindName& entry : kKindNames) {
        if (entry.name == name) match = &entry;
    }
    if (match == nullptr) {
        error = "unknown fault '" + std::string(name) +
                "' (drop, corrupt, wrong-command, stray, echo-mismatch, silent)";
        return {};
    }
    if (match->kind == FaultKind::Silent) {
        if (equals != std::string_view::npos) {
            error = "fault 'silent' takes no value";
            return {};
        }
        return Fault{FaultKind::Silent, 0};
    }
    const std::optional<unsigned> value =
        equals == std::string_view::npos ? std::nullopt : parseNumber(text.substr(equals + 1));
    if (match->kind == FaultKind::EchoMismatch) {
        if (!value || *value < 1 || *value > 9) {
            error = "fault 'echo-mismatch' needs a block number 1..9, as in echo-mismatch=4";
            return {};
        }
    } else if (!value || *value < 1) {
        error = "fault '" + std::string(name) + "' needs a count of 1 or more, as in " +
                std::string(name) + "=3";
        return {};
    }
    return Fault{match->kind, *value};
}

bool FaultPlan::silent() const {
    for (const Fault& fault : faults_) {
        if (fault.kind == FaultKind::Silent) return true;
    }
    return false;
}

bool FaultPlan::hits(FaultKind kind, unsigned answerNumber) const {
    for (const Fault& fault : faults_) {
        if (fault.kind == kind && fault.value != 0 && answerNumber % fault.value == 0) return true;
    }
    return false;
}

bool FaultPlan::echoMismatch(int block) const {
    for (const Fault& fault : faults_) {
        if (fault.kind == FaultKind::EchoMismatch && static_cast<int>(fault.value) == block) {
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> FaultPlan::shape(link::LinkFrame answer, unsigned answerNumber,
                                           int programmedBlock) const {
    if (silent() || hits(FaultKind::Drop, answerNumber)) return {};
    auto& bytes = answer.bytes();
    if (programmedBlock != 0 && echoMismatch(programmedBlock)) {
        bytes[1 + programmedBlock] ^= 0x01;  // a plausible-looking wrong echo
        answer.seal();
    }
    if (hits(FaultKind::WrongCommand, answerNumber)) {
        // Another block's answer: still an answer, but not to this request.
        bytes[0] ^= 0x01;
        answer.seal();
    }
    if (hits(FaultKind::Corrupt, answerNumber)) {
        bytes[1 + answerNumber % link::LinkFrame::kDataSize] ^= 0x5A;
    }
    std::vector<std::uint8_t> out;
    if (hits(FaultKind::Stray, answerNumber)) {
        out.assign(std::begin(kStrayBytes), std::end(kStrayBytes));
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

}  // namespace zelvor::sim
