#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zelvor::app {

// A small profile (INI) document that keeps section and key names exactly as
// written (keys such as "PageControl1->ActivePageIndex" contain characters a
// general-purpose settings library would escape), keeps the order of
// sections and keys, and leaves sections it does not know untouched.
class IniDocument {
  public:
    static IniDocument parse(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // A value with a line break in it is stored empty (a value is one line).
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // All keys of a section in file order (an absent section gives none).
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

    std::string serialize() const;

    // The integer stored under a key, or fallback when the key is absent or
    // its value is not a whole decimal number.
    int integer(std::string_view section, std::string_view key, int fallback) const;

  private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
        // Where each key is in entries, by its name in lower case.
        std::unordered_map<std::string, std::size_t> positions;

        const std::string* value(std::string_view key) const;
        void setValue(std::string_view key, std::string_view value);
    };
    const Section* find(std::string_view name) const;
    Section& findOrAdd(std::string_view name);

    std::vector<Section> sections_;
    // Where each section is in sections_, by its name in lower case; files
    // of many sections and keys are read in time that grows with their size.
    std::unordered_map<std::string, std::size_t> positions_;
};

}  // namespace zelvor::app
