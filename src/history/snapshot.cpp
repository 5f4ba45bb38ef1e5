#include "history/snapshot.h"

#include <array>
#include <charconv>
#include <ctime>
#include <vector>

namespace zelvor::history {

namespace {

constexpr std::array<std::string_view, 5> kEventNames = {"Read", "Program", "Save", "Open",
                                                         "Close"};
constexpr std::string_view kEntryHeader = "zelvor-snapshot 1";

std::string singleLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    }
    return line;
}

template <typename Number>
std::optional<Number> numberOf(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// Every field known and sound, or nothing.
std::optional<SnapshotInfo> checked(SnapshotInfo info) {
    if (info.number == 0 || !isImageKey(info.imageKey)) return std::nullopt;
    return info;
}

}  // namespace

std::string_view eventName(Event event) {
    return kEventNames[static_cast<std::size_t>(event)];
}

std::optional<Event> eventFromName(std::string_view name) {
    for (std::size_t i = 0; i < kEventNames.size(); ++i) {
        if (kEventNames[i] == name) return static_cast<Event>(i);
    }
    return std::nullopt;
}

std::string formatEntry(const SnapshotInfo& info) {
    std::string text(kEntryHeader);
    text += "\nnumber=" + std::to_string(info.number);
    text += "\ntime=" + std::to_string(info.time);
    text += "\nevent=" + std::string(eventName(info.event));
    text += "\nimage=" + info.imageKey;
    text += "\nunit=" + singleLine(info.unit);
    text += "\nfile=" + singleLine(info.file);
    text += "\n";
    return text;
}

std::optional<SnapshotInfo> parseEntry(std::string_view text) {
    std::vector<std::string_view> lines = split(text, '\n');
    if (lines.empty() || lines.front() != kEntryHeader) return std::nullopt;
    // A whole entry ends with its line break; a cut one is not taken.
    if (lines.back() != "") return std::nullopt;
    SnapshotInfo info;
    bool number = false, time = false, event = false;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::size_t equals = lines[i].find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view key = lines[i].substr(0, equals);
        const std::string_view value = lines[i].substr(equals + 1);
        if (key == "number") {
            const auto n = numberOf<std::uint64_t>(value);
            if (!n) return std::nullopt;
            info.number = *n;
            number = true;
        } else if (key == "time") {
            const auto t = numberOf<std::int64_t>(value);
            if (!t) return std::nullopt;
            info.time = *t;
            time = true;
        } else if (key == "event") {
            const auto e = eventFromName(value);
            if (!e) return std::nullopt;
            info.event = *e;
            event = true;
        } else if (key == "image") {
            info.imageKey = value;
        } else if (key == "unit") {
            info.unit = value;
        } else if (key == "file") {
            info.file = value;
        }
        // Keys of a later version are passed over.
    }
    if (!number || !time || !event) return std::nullopt;
    return checked(std::move(info));
}

std::string formatIndexLine(const SnapshotInfo& info) {
    return std::to_string(info.number) + '\t' + std::to_string(info.time) + '\t' +
           std::string(eventName(info.event)) + '\t' + info.imageKey + '\t' +
           singleLine(info.unit) + '\t' + singleLine(info.file);
}

std::optional<SnapshotInfo> parseIndexLine(std::string_view line) {
    const std::vector<std::string_view> fields = split(line, '\t');
    if (fields.size() != 6) return std::nullopt;
    const auto number = numberOf<std::uint64_t>(fields[0]);
    const auto time = numberOf<std::int64_t>(fields[1]);
    const auto event = eventFromName(fields[2]);
    if (!number || !time || !event) return std::nullopt;
    return checked(SnapshotInfo{.number = *number,
                                .time = *time,
                                .event = *event,
                                .file = std::string(fields[5]),
                                .unit = std::string(fields[4]),
                                .imageKey = std::string(fields[3])});
}

std::string imageKeyOf(std::string_view bytes) {
    // FNV-1a, 64 bits: identical images share one file; two different
    // images with the same key are told apart by the store.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 0x100000001b3ull;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) key[static_cast<std::size_t>(i)] = kHex[hash & 0xF];
    return key;
}

bool isImageKey(std::string_view key) {
    // The content key, and after a clash of two contents "-2", "-3", ...
    if (key.size() < 16) return false;
    for (std::size_t i = 0; i < 16; ++i) {
        const char c = key[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    if (key.size() == 16) return true;
    return key[16] == '-' && numberOf<unsigned>(key.substr(17)).has_value();
}

std::string timeText(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", &local);
    return text.data();
}

}  // namespace zelvor::history
