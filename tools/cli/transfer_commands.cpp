#include "transfer_commands.h"

#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "cli/unit_overlay.h"
#include "compare/element_text.h"
#include "history_keep.h"
#include "image_files.h"
#include "model/field_table.h"
#include "model/parameter_file_io.h"
#include "model/sanitizer.h"
#include "unit_session.h"

namespace zelvor::cli {

namespace {

using compare::elementName;
using compare::engineeringText;
using model::ParameterImage;

constexpr bool kExactImage = true;
constexpr bool kInRange = false;

// The side file of a backup: the unit's identification and its information
// block, beside the image file.
constexpr std::string_view kInfoSuffix = ".info";

// Reports every value of the unit that the range rules would change, and
// the command that keeps them.
void reportOutOfRange(const ParameterImage& unit, const ParameterImage& inRange,
                      std::ostream& err) {
    err << "zelvor-cli: the unit holds values out of range; a parameter file would change them:\n";
    for (const model::FieldDescriptor& field : model::kFieldTable) {
        if (field.kind == model::Kind::Text) continue;
        for (std::size_t i = 0; i < field.count; ++i) {
            if (unit.get(field.id, i) == inRange.get(field.id, i)) continue;
            err << "zelvor-cli:   " << elementName(field, i) << " = "
                << engineeringText(unit, field, i) << ", in range "
                << engineeringText(inRange, field, i) << "\n";
        }
    }
    err << "zelvor-cli: no file written; \"zelvor-cli backup\" keeps the unit's exact image\n";
}

// "Identification: ...", date, time, the program version and the 150 bytes
// of the information block in hexadecimal, one line each.
std::string backupInfo(const link::TransferEngine& engine) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t b : engine.infoBlock()) {
        hex += kHex[b >> 4];
        hex += kHex[b & 0x0F];
    }
    const link::UnitIdentification& unit = engine.identification();
    return "Identification: " + unit.identification + "\nDate: " + unit.date +
           "\nTime: " + unit.time +
           "\nProgram version: " + std::to_string(engine.infoBlock()[link::info_block::kVersion]) +
           "\nInfoBlock: " + hex + "\n";
}

std::string_view rawBytes(const ParameterImage& image) {
    return {reinterpret_cast<const char*>(image.bytes().data()), image.bytes().size()};
}

constexpr Option kPort{"port", 0, "DEVICE",
                       "serial device of the unit, such as /dev/ttyUSB0 (a symbolic link to one "
                       "is fine)",
                       true};

// --- read ---

constexpr Option kReadOptions[] = {
    kPort,
    {"output", 'o', "FILE",
     "parameter file to write (replaced as a whole); written only when the read and its "
     "verify succeed and every value is in range",
     true},
};

int runRead(const Command&, const Arguments& arguments, Io& io) {
    UnitSession unit(io);
    if (!unit.open(*arguments.value("port"))) return kExitError;
    // Read as the unit holds it, so that values out of range can be named
    // rather than fail the verify that follows the read.
    const TransferOutcome outcome = unit.run(TransferKind::Read, kExactImage);
    if (!outcome.succeeded()) return kExitTransferFailed;
    ParameterImage inRange = unit.image();
    model::sanitize(inRange);
    if (inRange != unit.image()) {
        reportOutOfRange(unit.image(), inRange, io.err);
        return kExitTransferFailed;
    }
    io.out << outcome.text << "\n";
    const std::string path = *arguments.value("output");
    const model::FileWriteResult written = model::saveParameterFile(path, unit.image());
    if (!written) {
        io.err << "zelvor-cli: Open file error! " << path << " (" << written.error << ")\n";
        return kExitError;
    }
    keepSnapshot(history::Event::Read, path, &unit.identification(), unit.image(), io.err);
    printIdentification(unit.identification(), io.out);
    return kExitOk;
}

// --- verify / program ---

constexpr Option kPortOnly[] = {kPort};

// Reads the unit, lays the file over what it holds and runs the transfer on
// that image.
int runWithFile(TransferKind kind, const Arguments& arguments, Io& io) {
    const std::optional<std::string> content = readParameterFile(arguments.positional[0], io.err);
    if (!content) return kExitError;
    UnitSession unit(io);
    if (!unit.open(*arguments.value("port"))) return kExitError;
    if (!unit.run(TransferKind::Read, kExactImage).succeeded()) {
        io.err << "zelvor-cli: the unit could not be read first; nothing was "
               << (kind == TransferKind::Program ? "programmed" : "verified") << "\n";
        return kExitTransferFailed;
    }
    unit.image() = layFileOverUnit(*content, unit.image());
    const TransferOutcome outcome = unit.run(kind, kInRange);
    if (!outcome.succeeded()) return kExitTransferFailed;
    io.out << outcome.text << "\n";
    if (kind == TransferKind::Program) {
        keepSnapshot(history::Event::Program, arguments.positional[0], &unit.identification(),
                     unit.image(), io.err);
        printIdentification(unit.identification(), io.out);
    }
    return kExitOk;
}

int runVerify(const Command&, const Arguments& arguments, Io& io) {
    return runWithFile(TransferKind::Verify, arguments, io);
}

int runProgram(const Command&, const Arguments& arguments, Io& io) {
    return runWithFile(TransferKind::Program, arguments, io);
}

// --- backup / restore ---

constexpr Option kBackupOptions[] = {
    kPort,
    {"output", 'o', "IMAGE",
     "image file to write: the unit's 1350 bytes as they are; its identification goes to "
     "IMAGE.info",
     true},
};

int runBackup(const Command&, const Arguments& arguments, Io& io) {
    UnitSession unit(io);
    if (!unit.open(*arguments.value("port"))) return kExitError;
    const TransferOutcome outcome = unit.run(TransferKind::Read, kExactImage);
    if (!outcome.succeeded()) return kExitTransferFailed;
    io.out << outcome.text << "\n";
    const std::string path = *arguments.value("output");
    if (!writeOutput(path, rawBytes(unit.image()), io.err) ||
        !writeOutput(path + std::string(kInfoSuffix), backupInfo(unit.engine()), io.err)) {
        return kExitError;
    }
    keepSnapshot(history::Event::Read, path, &unit.identification(), unit.image(), io.err);
    printIdentification(unit.identification(), io.out);
    return kExitOk;
}

int runRestore(const Command&, const Arguments& arguments, Io& io) {
    const std::optional<ParameterImage> image = readImageFile(arguments.positional[0], io.err);
    if (!image) return kExitError;
    UnitSession unit(io);
    if (!unit.open(*arguments.value("port"))) return kExitError;
    unit.image() = *image;
    const TransferOutcome outcome = unit.run(TransferKind::Program, kExactImage);
    if (!outcome.succeeded()) return kExitTransferFailed;
    io.out << outcome.text << "\n";
    keepSnapshot(history::Event::Program, arguments.positional[0], &unit.identification(),
                 unit.image(), io.err);
    printIdentification(unit.identification(), io.out);
    return kExitOk;
}

constexpr std::array<Command, 5> kTransferCommands = {{
    {"read", "",
     "read the unit's parameters into a parameter file, verifying them afterwards, and print "
     "the unit's identification, date and time; exit 1 when the transfer fails or the unit "
     "holds values out of range (which backup keeps)",
     kReadOptions, 0, 0, runRead},
    {"verify", "FILE",
     "read the unit, lay a parameter file over what it holds and compare; what a file cannot "
     "hold (reserved bytes, unit constants, memo bytes after its end) counts as the unit has "
     "it; exit 1 when they differ or a transfer fails",
     kPortOnly, 1, 1, runVerify},
    {"program", "FILE",
     "read the unit, lay a parameter file over what it holds, program that and verify it; what "
     "a file cannot hold stays as the unit has it; exit 1 when a transfer fails",
     kPortOnly, 1, 1, runProgram},
    {"backup", "",
     "read the unit's exact 1350 bytes, out-of-range values included, into an image file, and "
     "its identification, date, time, version and information block into IMAGE.info; exit 1 "
     "when the transfer fails",
     kBackupOptions, 0, 0, runBackup},
    {"restore", "IMAGE",
     "program exactly the 1350 bytes of an image file into the unit, then verify them; exit 1 "
     "when the transfer fails",
     kPortOnly, 1, 1, runRestore},
}};

}  // namespace

std::span<const Command> transferCommands() {
    return kTransferCommands;
}

}  // namespace zelvor::cli
