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

bool sameName(std::string_view a, std::string_view b) {
    // Profile files match section and key names without regard to case.
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

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
            const std::string_view name = trim(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            current = doc.find(name);
            if (current == nullptr) {
                doc.sections_.push_back({std::string(name), {}});
                current = &doc.sections_.back();
            }
            continue;
        }
        const auto equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, equals));
        const std::string_view value = trim(line.substr(equals + 1));
        if (!key.empty()) doc.setValue(current->name, key, value);
    }
    return doc;
}

IniDocument::Section* IniDocument::find(std::string_view name) {
    for (Section& s : sections_) {
        if (sameName(s.name, name)) return &s;
    }
    return nullptr;
}

const IniDocument::Section* IniDocument::find(std::string_view name) const {
    for (const Section& s : sections_) {
        if (sameName(s.name, name)) return &s;
    }
    return nullptr;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    const Section* s = find(section);
    if (s == nullptr) return std::nullopt;
    for (const auto& [k, v] : s->entries) {
        if (sameName(k, key)) return v;
    }
    return std::nullopt;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = find(section);
    if (s == nullptr) {
        sections_.push_back({std::string(section), {}});
        s = &sections_.back();
    }
    for (auto& [k, v] : s->entries) {
        if (sameName(k, key)) {
            v = value;
            return;
        }
    }
    s->entries.emplace_back(std::string(key), std::string(value));
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
        out += '[' + sections_[i].name + "]\n";
        for (const auto& [k, v] : sections_[i].entries) out += k + '=' + v + '\n';
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
