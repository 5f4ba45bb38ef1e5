#pragma once

#include <QtTest>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "app/main_window.h"
#include "link/link_frame.h"

namespace zelvor::testing {

// Hands the window a monitor answer with the given words (frame offsets).
inline void liveAnswer(app::TFormHlav& w, std::initializer_list<std::pair<int, int>> words) {
    std::array<std::uint8_t, 150> data{};
    data[149] = 63;  // program version (frame byte 150)
    for (const auto& [offset, value] : words) {
        data[offset - 1] = static_cast<std::uint8_t>(value & 0xFF);
        data[offset] = static_cast<std::uint8_t>(value >> 8);
    }
    const link::LinkFrame frame = link::LinkFrame::make(link::LinkFrame::kMonitorAnswer, data);
    QVERIFY(w.unitLink().monitor().decode(frame.bytes()));
}

}  // namespace zelvor::testing
