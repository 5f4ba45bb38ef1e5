#include "cli/progress_display.h"

#include <algorithm>
#include <ostream>

namespace zelvor::cli {

namespace {

constexpr const char* kClearToEndOfLine = "\x1b[K";

}  // namespace

std::string ProgressDisplay::line(const editing::StatusLabel& label,
                                  const link::ProgressGauge& gauge) {
    std::string text = label.visible ? label.text : std::string();
    if (!gauge.visible) return text;
    const int filled = std::clamp(gauge.progress, 0, link::ProgressGauge::kMaxValue);
    if (!text.empty()) text += ' ';
    text += '[';
    text.append(static_cast<std::size_t>(filled), '#');
    text.append(static_cast<std::size_t>(link::ProgressGauge::kMaxValue - filled), ' ');
    text += "] " + std::to_string(filled) + "/" + std::to_string(link::ProgressGauge::kMaxValue);
    return text;
}

void ProgressDisplay::show(const editing::StatusLabel& label, const link::ProgressGauge& gauge) {
    std::string text = line(label, gauge);
    if (text.empty() || text == shown_) return;
    if (inPlace_) {
        out_ << '\r' << text << kClearToEndOfLine << std::flush;
        lineOpen_ = true;
    } else {
        out_ << text << '\n' << std::flush;
    }
    shown_ = std::move(text);
}

void ProgressDisplay::finish() {
    if (lineOpen_) out_ << '\n' << std::flush;
    lineOpen_ = false;
    shown_.clear();
}

}  // namespace zelvor::cli
