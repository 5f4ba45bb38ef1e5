#include "app/settings/ini_document.h"

#include <charconv>

namespace zelvor::app {

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// Profile files match section and key names without regard to case; names
// are looked up by their lower-case form.
std::string lookupName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace

const std::string* IniDocument::Section::value(std::string_view key) const {
    const auto found = positions.find(lookupName(key));
    return found == positions.end() ? nullptr : &entries[found->second].second;
}

void IniDocument::Section::setValue(std::string_view key, std::string_view value) {
    const auto [found, added] = positions.try_emplace(lookupName(key), entries.size());
    if (added) {
        entries.emplace_back(std::string(key), std::string(value));
    } else {
        entries[found->second].second = value;
    }
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    Section* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            current = &doc.findOrAdd(trim(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            continue;
        }
        const auto equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, equals));
        const std::string_view value = trim(line.substr(equals + 1));
        if (!key.empty()) current->setValue(key, value);
    }
    return doc;
}

const IniDocument::Section* IniDocument::find(std::string_view name) const {
    const auto found = positions_.find(lookupName(name));
    return found == positions_.end() ? nullptr : &sections_[found->second];
}

// The reference stays valid until the next section is added.
IniDocument::Section& IniDocument::findOrAdd(std::string_view name) {
    const auto [found, added] = positions_.try_emplace(lookupName(name), sections_.size());
    if (added) sections_.push_back({std::string(name), {}, {}});
    return sections_[found->second];
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const Section* s = find(section);
    const std::string* v = s == nullptr ? nullptr : s->value(key);
    if (v == nullptr) return std::nullopt;
    return *v;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    // A value is one line of the file. One with a line break in it (a file
    // name may hold one) would be read back as further keys or sections, so
    // it is stored empty: the key then reads as not set.
    const bool oneLine = value.find_first_of("\r\n") == std::string_view::npos;
    findOrAdd(section).setValue(key, oneLine ? value : std::string_view{});
}

std::vector<std::pair<std::string, std::string>> IniDocument::entries(
    std::string_view section) const {
    const Section* s = find(section);
    return s == nullptr ? std::vector<std::pair<std::string, std::string>>{} : s->entries;
}

std::string IniDocument::serialize() const {
    std::string out;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0) out += '\n';
        out += '[';
        out += sections_[i].name;
        out += "]\n";
        for (const auto& [k, v] : sections_[i].entries) {
            out += k;
            out += '=';
            out += v;
            out += '\n';
        }
    }
    return out;
}

int IniDocument::integer(std::string_view section, std::string_view key, int fallback) const {
    const auto text = value(section, key);
    if (!text || text->empty()) return fallback;
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+') ++first;
    int result = 0;
    const auto [ptr, ec] = std::from_chars(first, last, result);
    if (ec != std::errc() || ptr != last) return fallback;
    return result;
}

}  // namespace zelvor::app
