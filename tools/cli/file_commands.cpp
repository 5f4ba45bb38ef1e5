#include "file_commands.h"

#include <array>
#include <charconv>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "compare/element_text.h"
#include "compare/image_compare.h"
#include "history_keep.h"
#include "image_files.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::cli {

namespace {

using compare::elementName;
using compare::engineeringText;
using compare::memoBytes;
using compare::quoted;
using model::FieldDescriptor;
using model::ParameterImage;

constexpr Option kOutput{"output", 'o', "FILE", "file to write (replaced as a whole)", true};

// Every file this tool writes holds a sanitized image, as the program's own.
bool writeParameterFile(const std::string& path, ParameterImage image, std::ostream& err) {
    model::sanitize(image);
    if (!writeOutput(path, model::formatParameterFile(image), err)) return false;
    keepSnapshot(history::Event::Save, path, nullptr, image, err);
    return true;
}

std::optional<int> parseBike(std::string_view text) {
    int bike = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bike);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (bike < 0 || bike >= model::kKnownBikeCount) return std::nullopt;
    return bike;
}

// --- new ---

constexpr Option kNewOptions[] = {
    {"bike", 0, "N",
     "bike 0..7: 0 Zelvor R1, 1 Zelvor R2, 2 Zelvor N1, 3 Zelvor N1 & Lambda, 4 Zelvor N2, "
     "5 Zelvor N3, 6 Zelvor N3 & Lambda, 7 Zelvor S1 (default 0)"},
    kOutput,
};

int runNew(const Command& command, const Arguments& arguments, Io& io) {
    int bike = 0;
    if (const std::optional<std::string> text = arguments.value("bike")) {
        const std::optional<int> parsed = parseBike(*text);
        if (!parsed) {
            return usageError(command, "--bike takes a bike number 0..7, not '" + *text + "'", io);
        }
        bike = *parsed;
    }
    const ParameterImage image = defaultImage(static_cast<unsigned>(bike));
    return writeParameterFile(*arguments.value("output"), image, io.err) ? kExitOk : kExitError;
}

// --- show ---

constexpr Option kShowOptions[] = {
    {"sanitize", 0, "", "apply the range rules first, as the program does after opening"},
};

int runShow(const Command&, const Arguments& arguments, Io& io) {
    std::optional<ParameterImage> image = loadParameterFile(arguments.positional[0], io.err);
    if (!image) return kExitError;
    if (arguments.has("sanitize")) model::sanitize(*image);
    for (const FieldDescriptor& field : model::kFieldTable) {
        if (field.kind == model::Kind::Text) {
            io.out << model::qualifiedName(field.id) << " = " << quoted(memoBytes(*image)) << "\n";
            continue;
        }
        for (std::size_t i = 0; i < field.count; ++i) {
            io.out << elementName(field, i) << " = " << engineeringText(*image, field, i) << "\n";
        }
    }
    return kExitOk;
}

// --- normalize ---

constexpr Option kNormalizeOptions[] = {kOutput};

int runNormalize(const Command&, const Arguments& arguments, Io& io) {
    const std::optional<ParameterImage> image = loadParameterFile(arguments.positional[0], io.err);
    if (!image) return kExitError;
    return writeParameterFile(*arguments.value("output"), *image, io.err) ? kExitOk : kExitError;
}

// --- diff ---

constexpr std::span<const Option> kNoOptions;

int runDiff(const Command&, const Arguments& arguments, Io& io) {
    std::optional<ParameterImage> a = loadParameterFile(arguments.positional[0], io.err);
    if (!a) return kExitError;
    std::optional<ParameterImage> b = loadParameterFile(arguments.positional[1], io.err);
    if (!b) return kExitError;
    const std::vector<compare::Difference> differences = compare::compareImages(*a, *b);
    for (const compare::Difference& difference : differences) {
        io.out << compare::differenceLine(difference) << "\n";
    }
    const bool differ = !differences.empty();
    return differ ? kExitDiffer : kExitOk;
}

// --- export-image / import-image ---

constexpr Option kImageOptions[] = {kOutput};

int runExportImage(const Command&, const Arguments& arguments, Io& io) {
    std::optional<ParameterImage> image = loadParameterFile(arguments.positional[0], io.err);
    if (!image) return kExitError;
    model::sanitize(*image);
    const auto& bytes = image->bytes();
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return writeOutput(*arguments.value("output"), raw, io.err) ? kExitOk : kExitError;
}

int runImportImage(const Command&, const Arguments& arguments, Io& io) {
    const std::optional<ParameterImage> image = readImageFile(arguments.positional[0], io.err);
    if (!image) return kExitError;
    return writeParameterFile(*arguments.value("output"), *image, io.err) ? kExitOk : kExitError;
}

constexpr std::array<Command, 6> kFileCommands = {{
    {"new", "", "write the default parameter set of a bike", kNewOptions, 0, 0, runNew},
    {"show", "FILE",
     "print every field of a parameter file, one per line, in engineering units; the memo "
     "is quoted with \\r \\n \\t \\\" \\\\ and \\xHH escapes; the file lies over the default set "
     "of its bike, so the unit constants, which files do not hold, are those of that bike",
     kShowOptions, 1, 1, runShow},
    {"normalize", "FILE", "read a parameter file, apply the range rules and write it again",
     kNormalizeOptions, 1, 1, runNormalize},
    {"diff", "A B",
     "print the fields that differ between two parameter files after the range rules; "
     "exit 0 when equal, 1 when they differ, 2 on errors",
     kNoOptions, 2, 2, runDiff},
    {"export-image", "FILE",
     "write the 1350-byte parameter image of a parameter file (after the range rules)",
     kImageOptions, 1, 1, runExportImage},
    {"import-image", "IMAGE",
     "write a 1350-byte parameter image as a parameter file (after the range rules)", kImageOptions,
     1, 1, runImportImage},
}};

}  // namespace

std::span<const Command> fileCommands() {
    return kFileCommands;
}

}  // namespace zelvor::cli
