// Runs the built zelvor-cli for each file command and each way it can fail,
// checking exit codes, output and the files it leaves behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "../../support/parameter_images.h"
#include "../../support/program_run.h"
#include "../../support/temp_folder.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor {
namespace {

namespace fs = std::filesystem;
using model::Field;
using model::ParameterImage;
using testing::contentOf;
using testing::readOntoDefaults;
using testing::saneDefaults;
using CliRun = testing::ProgramRun;

class Cli : public ::testing::Test {
  protected:
    fs::path path(const std::string& name) const { return folder_.path() / name; }

    fs::path put(const std::string& name, const std::string& content) const {
        return folder_.put(name, content);
    }

    CliRun run(std::initializer_list<std::string> arguments) const {
        const fs::path out = path("stdout.txt");
        const fs::path err = path("stderr.txt");
        CliRun result = testing::runProgram(ZELVOR_CLI_PATH, arguments, out, err);
        fs::remove(out);
        fs::remove(err);
        return result;
    }

    // Runs zelvor-cli with its standard output on a device that takes no
    // byte ("No space left on device"); gives up after ten seconds.
    CliRun runIntoFullDevice(const std::vector<std::string>& arguments) const {
        const fs::path err = path("stderr.txt");
        const pid_t pid = testing::spawnProgram(ZELVOR_CLI_PATH, arguments, "/dev/full", err);
        CliRun result;
        int status = 0;
        for (int waited = 0; waited < 1000; ++waited) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
                result.err = contentOf(err);
                return result;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "zelvor-cli did not end";
        return result;
    }

    testing::TempFolder folder_{"zelvor_cli_"};
};

const std::string kMagic = "ZARBOLIK_KEY    63 \r\n";

// A file as the program holds it after opening it at start-up: the default
// set of the file's own bike, the file, then the bike update, so the pins and
// the unit constants follow the file's bike.
ParameterImage openedAtStartUp(const std::string& content) {
    const unsigned bike = readOntoDefaults(content).get(Field::BIKE_BikeType);
    ParameterImage image;
    image.set(Field::BIKE_BikeType, bike);
    model::loadDefaultSet(image);
    EXPECT_EQ(model::parseParameterFile(content, image), model::ReadOutcome::Accepted);
    model::applyBikeUpdate(image);
    return image;
}

TEST_F(Cli, NewWritesTheDefaultSetOfTheChosenBike) {
    CliRun r = run({"new", "-o", path("r1.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contentOf(path("r1.ign")), model::formatParameterFile(saneDefaults(0)));

    r = run({"new", "--bike", "6", "--output", path("n3.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contentOf(path("n3.ign")), model::formatParameterFile(saneDefaults(6)));
    EXPECT_NE(contentOf(path("n3.ign")), contentOf(path("r1.ign")));

    for (const char* bad : {"8", "-1", "x", "2x", ""}) {
        r = run({"new", "--bike", bad, "-o", path("bad.ign").string()});
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_NE(r.err.find("0..7"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("usage: zelvor-cli new"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(path("bad.ign")));
}

TEST_F(Cli, ShowPrintsEveryFieldInEngineeringUnits) {
    const fs::path file = put("a.ign", kMagic +
                                           "RPM 2 -20\r\nADVANCE_MISC 1 0 0 50\r\nTPS 340 4730\r\n"
                                           "MEMO\r\nHi \"you\"\r\n\xE8\\\r\n");
    CliRun r = run({"show", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::size_t expectedLines = 1;  // the memo text
    for (const auto& d : model::kFieldTable) {
        if (d.kind != model::Kind::Text) expectedLines += d.count;
    }
    EXPECT_EQ(static_cast<std::size_t>(std::count(r.out.begin(), r.out.end(), '\n')),
              expectedLines);
    EXPECT_EQ(r.out.substr(0, 35), "BIKE.BikeType = 0\nFIXED.Byte2 = 0\nF");
    for (const char* line :
         {"\nLIMITER.IgnLimiter = 10800\n", "\nRPM.RpmKorekce = -20\n", "\nTPS.Tps100 = 4730\n",
          "\nCHOKE.SyticKorekce[0] = 250\n", "\nADVANCE_CORR.IgnVoda[4] = -5\n",
          "\nIDLE.IdleRpmPoz[5] = 1000\n", "\nADVANCE_MISC.BaseAdv = 50\n",
          "\nFIXED.Table214[8] = 91\n", "\nJET_2A.Cell[149] = ",
          "\nMEMO.Text = \"Hi \\\"you\\\"\\r\\n\\xE8\\\\\"\n", "\nMEMO.Terminator = 0\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }
    // Sanitizing first brings the base advance down to its limit.
    r = run({"show", "--sanitize", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nADVANCE_MISC.BaseAdv = 40\n"), std::string::npos);
}

TEST_F(Cli, NormalizeSanitizesAndRewritesEvenInPlace) {
    const std::string content = kMagic + "FAN 90 91 ADVANCE_MISC 1 0 0 50 BIKE 3 MEMO note";
    const fs::path file = put("messy.ign", content);
    ParameterImage expected = openedAtStartUp(content);
    model::sanitize(expected);
    const std::string clean = model::formatParameterFile(expected);

    CliRun r = run({"normalize", file.string(), "-o", path("clean.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contentOf(path("clean.ign")), clean);
    EXPECT_EQ(contentOf(file), content);

    r = run({"normalize", file.string(), "-o", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contentOf(file), clean);
}

TEST_F(Cli, DiffComparesSanitizedFields) {
    const fs::path a = put("a.ign", kMagic + "FAN 102 104 ADVANCE_MISC 1 0 0 40 MEMO one");
    const fs::path same = put("same.ign", kMagic + "ADVANCE_MISC 1 0 0 90 MEMO\r\n  one");
    const fs::path b = put("b.ign", kMagic + "FAN 90 104 RPM 2 -5 MEMO t\"wo\r\n");

    CliRun r = run({"diff", a.string(), same.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");

    r = run({"diff", a.string(), b.string()});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out,
              "FAN.Fan1: 102 -> 90\n"
              "RPM.RpmKorekce: 0 -> -5\n"
              "ADVANCE_MISC.BaseAdv: 40 -> 0\n"
              "MEMO.Text: \"one\" -> \"t\\\"wo\"\n");

    r = run({"diff", a.string(), path("missing.ign").string()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Open file error! " + path("missing.ign").string()), std::string::npos);
}

TEST_F(Cli, FileCommandsLayAFileOverTheDefaultSetOfItsOwnBike) {
    // A file of "Zelvor N1" without injection maps, stating the pins of bike 0.
    const std::string content = kMagic + "BIKE 2 INPUTS 1 1 1 1 1 1 FAN 90 95";
    const fs::path file = put("n1.ign", content);
    ParameterImage expected = saneDefaults(2);
    expected.set(Field::FAN_Fan1, 90);
    expected.set(Field::FAN_Fan2, 95);
    ASSERT_EQ(expected.get(Field::FIXED_Byte4), 30);
    ASSERT_NE(expected.get(Field::JET_1A_Cell, 0), saneDefaults(0).get(Field::JET_1A_Cell, 0))
        << "the default injection maps follow the bike";

    CliRun r = run({"show", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* line : {"\nFIXED.Byte4 = 30\n", "\nINPUTS.PinEngine23 = 0\n",
                             "\nINPUTS.PinEngine14 = 0\n", "\nINPUTS.PinBody11 = 0\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }

    r = run({"export-image", file.string(), "-o", path("n1.bin").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contentOf(path("n1.bin")),
              std::string(expected.bytes().begin(), expected.bytes().end()));

    r = run({"normalize", file.string(), "-o", path("clean.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contentOf(path("clean.ign")), model::formatParameterFile(expected));

    r = run({"new", "--bike", "2", "-o", path("new.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = run({"diff", path("new.ign").string(), file.string()});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "FAN.Fan1: 102 -> 90\nFAN.Fan2: 104 -> 95\n");

    // A bike this program does not know gets the constants, and keeps the
    // pins the file states.
    const fs::path unknown = put("unknown.ign", kMagic + "BIKE 9 INPUTS 0 1 1 1 1 1");
    r = run({"show", unknown.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* line : {"\nFIXED.Byte4 = 19\n", "\nINPUTS.PinEngine23 = 0\n",
                             "\nINPUTS.PinEngine14 = 1\n", "\nINPUTS.PinBody11 = 1\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    }
}

TEST_F(Cli, StandardOutputThatCannotBeWrittenFailsWithTheReason) {
    const std::string a = put("a.ign", kMagic + "FAN 90 91").string();
    const std::string b = put("b.ign", kMagic + "FAN 92 93").string();
    for (const std::vector<std::string>& words : std::initializer_list<std::vector<std::string>>{
             {"show", a}, {"diff", a, b}, {"--help"}, {"diff", "--help"}}) {
        const CliRun r = runIntoFullDevice(words);
        EXPECT_EQ(r.exitCode, 2) << words[0];
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    }
    // Nothing to print is no failure.
    const CliRun r = runIntoFullDevice({"diff", a, a});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(Cli, ImagesConvertBothWays) {
    const std::string content = kMagic + "BIKE 5 LIMITER 9000 9500 9600 9400 30 MEMO x";
    const fs::path file = put("a.ign", content);
    ParameterImage expected = openedAtStartUp(content);
    model::sanitize(expected);

    CliRun r = run({"export-image", file.string(), "-o", path("a.bin").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string raw = contentOf(path("a.bin"));
    ASSERT_EQ(raw.size(), 1350u);
    EXPECT_TRUE(
        std::equal(raw.begin(), raw.end(), expected.bytes().begin(),
                   [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; }));

    r = run({"import-image", path("a.bin").string(), "-o", path("back.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(contentOf(path("back.ign")), model::formatParameterFile(expected));

    // An imported image is sanitized before it is written.
    ParameterImage wild = expected;
    wild.set(Field::ADVANCE_Cell, 7, 200);
    put("wild.bin", std::string(wild.bytes().begin(), wild.bytes().end()));
    r = run({"import-image", path("wild.bin").string(), "-o", path("wild.ign").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    model::sanitize(wild);
    EXPECT_EQ(wild.get(Field::ADVANCE_Cell, 7), 60);
    EXPECT_EQ(contentOf(path("wild.ign")), model::formatParameterFile(wild));

    for (std::size_t size : {0, 1349, 1351}) {
        put("odd.bin", std::string(size, '\0'));
        r = run({"import-image", path("odd.bin").string(), "-o", path("odd.ign").string()});
        EXPECT_EQ(r.exitCode, 2) << size;
        EXPECT_NE(r.err.find("not a parameter image: " + std::to_string(size) + " bytes"),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(fs::exists(path("odd.ign")));
    }
}

TEST_F(Cli, UnreadableOrForeignFilesAreReported) {
    const std::string missing = path("nothing.ign").string();
    const std::string old = put("old.ign", "ZARBOLIK_KEY 62\r\nFAN 1 1\r\n").string();
    const std::string good = put("good.ign", kMagic).string();
    const std::string out = path("out").string();
    for (const std::string& file : {missing, old}) {
        const std::string message = file == missing ? "Open file error! " + missing
                                                    : "Unmatched version of *.ign file! " + old;
        for (const CliRun& r :
             {run({"show", file}), run({"diff", good, file}), run({"normalize", file, "-o", out}),
              run({"export-image", file, "-o", out})}) {
            EXPECT_EQ(r.exitCode, 2);
            EXPECT_EQ(r.err, "zelvor-cli: " + message + "\n");
            EXPECT_EQ(r.out, "");
        }
    }
    EXPECT_FALSE(fs::exists(out));
    const CliRun r = run({"show", folder_.path().string()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Open file error!"), std::string::npos);
}

TEST_F(Cli, OutputThatCannotBeWrittenLeavesOldFilesAlone) {
    const fs::path source = put("a.ign", kMagic + "FAN 1 2");
    const std::string target = (folder_.path() / "no folder" / "x.ign").string();
    CliRun r = run({"normalize", source.string(), "-o", target});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("zelvor-cli: Open file error! " + target), std::string::npos) << r.err;

    fs::create_directory(path("taken.ign"));
    r = run({"new", "-o", path("taken.ign").string()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(fs::is_directory(path("taken.ign")));
    EXPECT_EQ(contentOf(source), kMagic + "FAN 1 2");
}

TEST_F(Cli, BadCommandLinesGetUsage) {
    struct Case {
        std::initializer_list<std::string> words;
        const char* message;
    };
    const std::string file = put("a.ign", kMagic).string();
    for (const Case& c : {
             Case{{}, "no command given"},
             Case{{"frobnicate"}, "unknown command 'frobnicate'"},
             Case{{"show"}, "missing argument"},
             Case{{"show", file, file}, "too many arguments"},
             Case{{"show", "--verbose", file}, "unknown option --verbose"},
             Case{{"show", "--sanitize=yes", file}, "takes no value"},
             Case{{"normalize", file}, "missing option --output"},
             Case{{"normalize", file, "-o"}, "needs a value"},
             Case{{"diff", file}, "missing argument"},
             Case{{"new", "extra", "-o", "x"}, "too many arguments"},
         }) {
        const CliRun r = run(c.words);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("usage: zelvor-cli"), std::string::npos) << c.message;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fs::exists("x"));
}

TEST_F(Cli, HelpListsEveryCommand) {
    CliRun r = run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* name : {"new", "show", "normalize", "diff", "export-image", "import-image"}) {
        EXPECT_NE(r.out.find(std::string("\n  ") + name), std::string::npos) << name;
    }
    r = run({"diff", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: zelvor-cli diff A B\n", 0), 0u) << r.out;
    // After "--", a word like --help is a file name.
    r = run({"show", "--", "--help"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Open file error! --help"), std::string::npos);
}

TEST_F(Cli, VersionNamesTheToolAndItsRelease) {
    const CliRun r = run({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, std::string("zelvor-cli ") + ZELVOR_VERSION + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_NE(run({"--help"}).out.find("zelvor-cli --version"), std::string::npos);
}

}  // namespace
}  // namespace zelvor
