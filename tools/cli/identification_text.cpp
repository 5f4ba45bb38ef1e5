#include "cli/identification_text.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "editing/code_page.h"

namespace zelvor::cli {
namespace {

// The locale the terminal writes in, as the C library would choose it.
std::string localeName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

}  // namespace

void printIdentification(const link::UnitIdentification& unit, std::ostream& out) {
    // The unit writes its identification in the code page of the memo: the
    // one a tuner of this locale uses, as the window's default.
    const auto& bytes = unit.identificationBytes;
    const std::string text =
        bytes.empty()
            ? unit.identification
            : editing::decodeForDisplay(
                  std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                  editing::defaultCodePage(localeName()));
    out << "Identification: " << text << "\n"
        << "Date: " << unit.date << "\n"
        << "Time: " << unit.time << "\n";
}

}  // namespace zelvor::cli
