// Runs the built zelvor-cli map command: the printed map, laying a table into
// a file, and refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "../../support/parameter_images.h"
#include "../../support/program_run.h"
#include "../../support/temp_folder.h"
#include "editing/map_clipboard.h"
#include "model/parameter_file_writer.h"

namespace zelvor {
namespace {

namespace fs = std::filesystem;
using editing::MapId;
using editing::MapSelection;
using model::Field;
using model::ParameterImage;
using testing::contentOf;

class CliMap : public ::testing::Test {
  protected:
    CliMap() {
        // Bike 4 with separate maps and cells that differ from each other;
        // the injection times are no whole percent of their base times.
        image = testing::saneDefaults(4);
        image.set(Field::JET1_MISC_Jet123Mode, 0);
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            image.set(Field::ADVANCE_Cell, k, (k * 7) % 61);
            image.set(Field::JET_1A_Cell, k, 701 + 13 * k);
            image.set(Field::JET_2A_Cell, k, 4003 - 11 * k);
        }
        model::sanitize(image);
    }

    fs::path path(const std::string& name) const { return folder_.path() / name; }

    fs::path putImage(const std::string& name, const ParameterImage& content) const {
        return folder_.put(name, model::formatParameterFile(content));
    }

    testing::ProgramRun run(const std::vector<std::string>& arguments) const {
        const fs::path out = path("stdout.txt");
        const fs::path err = path("stderr.txt");
        testing::ProgramRun result = testing::runProgram(ZELVOR_CLI_PATH, arguments, out, err);
        fs::remove(out);
        fs::remove(err);
        return result;
    }

    ParameterImage image;
    testing::TempFolder folder_{"zelvor_cli_map_"};
};

TEST_F(CliMap, PrintsTheMapAsTheWindowCopiesIt) {
    const fs::path file = putImage("tune.ign", image);
    for (auto [name, map] : {std::pair{"advance", MapId::Advance}, std::pair{"inj1", MapId::Jet1A},
                             std::pair{"inj2", MapId::Jet2A}}) {
        const editing::MapContent content = editing::readMapContent(map, image);
        testing::ProgramRun r = run({"map", file.string(), "--map", name});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, editing::formatMapText(map, content, MapSelection::wholeMap())) << name;
        if (map == MapId::Advance) continue;
        r = run({"map", file.string(), "--map", name, "--ms"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, editing::formatMapText(map, content, MapSelection::wholeMap(), true));
    }
}

TEST_F(CliMap, APrintedMapSetBackGivesTheSameFileByteForByte) {
    for (int mode : {0, 1, 2}) {
        image.set(Field::JET1_MISC_Jet123Mode, static_cast<unsigned>(mode));
        if (mode == 2) {
            // As the program keeps the maps while they are equal.
            for (std::size_t c = 0; c < model::kMapColumns; ++c) {
                image.set(Field::RPM_JET_2A_Rpm, c, image.get(Field::RPM_JET_1A_Rpm, c));
            }
            for (std::size_t k = 0; k < model::kMapCells; ++k) {
                image.set(Field::JET_2A_Cell, k, image.get(Field::JET_1A_Cell, k));
            }
        }
        const fs::path file = putImage("tune.ign", image);
        for (const char* name : {"advance", "inj1", "inj2"}) {
            for (bool ms : {false, true}) {
                if (mode != 0 && std::string(name) == "inj2") continue;
                if (ms && std::string(name) == "advance") continue;
                testing::ProgramRun r = ms ? run({"map", file.string(), "--map", name, "--ms"})
                                           : run({"map", file.string(), "--map", name});
                ASSERT_EQ(r.exitCode, 0) << r.err;
                const fs::path table = folder_.put("table.tsv", r.out);
                const fs::path out = path("out.ign");
                fs::remove(out);
                r = ms ? run({"map", file.string(), "--map", name, "--ms", "--set", table.string(),
                              "-o", out.string()})
                       : run({"map", file.string(), "--map", name, "--set", table.string(), "-o",
                              out.string()});
                ASSERT_EQ(r.exitCode, 0) << r.err;
                EXPECT_EQ(contentOf(out), contentOf(file))
                    << "mode " << mode << " " << name << (ms ? " ms" : "");
            }
        }
    }
}

TEST_F(CliMap, ATableChangesExactlyItsCells) {
    const fs::path file = putImage("tune.ign", image);
    const fs::path table = folder_.put("block.tsv", "40\t41\r\n42\t43\r\n");
    testing::ProgramRun r = run({"map", file.string(), "--map", "advance", "--set", table.string(),
                                 "-o", path("out.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = run({"diff", file.string(), path("out.ign").string()});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    std::ostringstream expected;
    const int cells[] = {0, 1, 15, 16};
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(cells[i]);
        expected << "ADVANCE.Cell[" << k << "]: " << image.get(Field::ADVANCE_Cell, k) << " -> "
                 << 40 + i << "\n";
    }
    EXPECT_EQ(r.out, expected.str());
}

TEST_F(CliMap, TextThatDoesNotFitWritesNothingAndSaysWhere) {
    const fs::path file = putImage("tune.ign", image);
    std::string elevenRows;
    for (int i = 0; i < 11; ++i) elevenRows += "50\n";
    const fs::path table = folder_.put("long.tsv", elevenRows);
    testing::ProgramRun r = run({"map", file.string(), "--map", "inj1", "--set", table.string(),
                                 "-o", path("out.ign").string()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("long.tsv: Row 11, column 1: too many rows"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(path("out.ign")));

    image.set(Field::JET1_MISC_Jet123Mode, 1);
    const fs::path coupled = putImage("coupled.ign", image);
    const fs::path one = folder_.put("one.tsv", "50\n");
    r = run({"map", coupled.string(), "--map", "inj2", "--set", one.string(), "-o",
             path("out.ign").string()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("map 2 follows map 1"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(path("out.ign")));
}

TEST_F(CliMap, WrongUseIsAUsageError) {
    const fs::path file = putImage("tune.ign", image);
    const fs::path table = folder_.put("t.tsv", "1\n");
    const std::string out = path("out.ign").string();
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"map", file.string(), "--map", "jet1"}, "advance, inj1 or inj2, not 'jet1'"},
        {{"map", file.string()}, "missing option --map"},
        {{"map", file.string(), "--map", "advance", "--ms"}, "--ms needs an injection map"},
        {{"map", file.string(), "--map", "inj1", "--set", table.string()}, "--set needs -o"},
        {{"map", file.string(), "--map", "inj1", "-o", out}, "-o needs --set"},
    };
    for (const auto& c : cases) {
        const testing::ProgramRun r = run(c.arguments);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("usage: zelvor-cli map"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(path("out.ign")));
    testing::ProgramRun r = run({"map", path("missing.ign").string(), "--map", "inj1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Open file error!"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace zelvor
