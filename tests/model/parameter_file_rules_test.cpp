#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "model/field_table.h"
#include "model/parameter_file_sections.h"
#include "model/parameter_file_writer.h"

namespace zelvor::model {
namespace {

// The numbers of each section of a written file, by section name.
std::map<std::string, std::vector<long>> sectionNumbers(const std::string& file) {
    std::map<std::string, std::vector<long>> numbers;
    std::istringstream in(file);
    std::string section;
    for (std::string token; in >> token;) {
        if (token == file_format::kMemoSection) break;
        if (file_format::findSection(token) != nullptr) {
            section = token;
        } else if (!section.empty()) {
            numbers[section].push_back(std::stol(token));
        }
    }
    return numbers;
}

// What the field table says the file holds for a stored value.
long tableNumber(const FieldDescriptor& d, unsigned stored) {
    switch (d.fileForm) {
        case FileForm::Engineering:
            return d.toEngineering(stored);
        case FileForm::Stored:
            return stored;
        case FileForm::Flag:
            return stored != 0 ? 1 : 0;
    }
    return -1;
}

// Every number of every section is the one the field table gives for its
// field element, in the order of the section's items, for values anywhere in
// the fields' editor ranges (flags with bytes other than 0 and 1 too).
TEST(ParameterFileRules, WrittenNumbersAreTheFieldTablesValues) {
    std::mt19937 random(8);
    for (int round = 0; round < 20; ++round) {
        ParameterImage image;
        for (const FieldDescriptor& d : kFieldTable) {
            const EditorRange& r = d.range;
            std::uniform_int_distribution<std::int32_t> step(0, (r.maximum - r.minimum) / r.step);
            for (std::size_t i = 0; i < d.count; ++i) {
                const unsigned stored = d.fileForm == FileForm::Flag
                                            ? static_cast<unsigned>(random() % 3 * 7)
                                            : d.toStored(r.minimum + step(random) * r.step);
                image.set(d.id, i, stored);
            }
        }
        const auto written = sectionNumbers(formatParameterFile(image));
        ASSERT_EQ(written.size(), file_format::sections().size());
        for (const file_format::Section& section : file_format::sections()) {
            SCOPED_TRACE(std::string(section.name));
            std::vector<long> expected;
            for (const file_format::Item& item : section.items) {
                if (item.kind != file_format::ItemKind::Values) continue;
                const FieldDescriptor& d = descriptor(item.field);
                for (std::size_t i = 0; i < d.count; ++i) {
                    expected.push_back(tableNumber(d, image.get(d.id, i)));
                }
            }
            ASSERT_EQ(written.at(std::string(section.name)), expected);
        }
    }
}

}  // namespace
}  // namespace zelvor::model
