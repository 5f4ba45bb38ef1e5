#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvor::history {

// What made the program keep an image.
enum class Event { Read, Program, Save, Open, Close };

std::string_view eventName(Event event);
std::optional<Event> eventFromName(std::string_view name);

// One kept image: when, why, from which file and which unit. The image
// itself is kept once per content and named by imageKey.
struct SnapshotInfo {
    std::uint64_t number = 0;  // counts up, never reused
    std::int64_t time = 0;     // seconds since 1970 (UTC)
    Event event = Event::Open;
    std::string file;  // the parameter file's path; empty when there was none
    std::string unit;  // the unit's identification; empty when no unit was talked to
    std::string imageKey;

    friend bool operator==(const SnapshotInfo&, const SnapshotInfo&) = default;
};

// A snapshot as one small text file, and back. Values are single lines: line
// breaks and tabs in a file name or identification become blanks.
std::string formatEntry(const SnapshotInfo& info);
std::optional<SnapshotInfo> parseEntry(std::string_view text);

// The same as one line of the index, and back.
std::string formatIndexLine(const SnapshotInfo& info);
std::optional<SnapshotInfo> parseIndexLine(std::string_view line);

// 16 hexadecimal digits naming an image's content.
std::string imageKeyOf(std::string_view bytes);
bool isImageKey(std::string_view key);

// "2026-12-09 20:40:12" in local time.
std::string timeText(std::int64_t time);

}  // namespace zelvor::history
