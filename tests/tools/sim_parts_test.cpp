#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/temp_folder.h"
#include "model/sanitizer.h"
#include "sim/block_store.h"
#include "sim/default_image.h"
#include "sim/device_link.h"
#include "sim/frame_assembler.h"
#include "sim/info_block.h"
#include "sim/line_pacer.h"
#include "sim/sim_options.h"

namespace zelvor::sim {
namespace {

namespace fs = std::filesystem;
using link::LinkFrame;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using zelvor::testing::putFile;
using zelvor::testing::TempFolder;

SimOptionsParse parse(std::vector<std::string_view> args) {
    return parseSimOptions(args);
}

TEST(SimOptions, AcceptsEveryOptionInBothSpellings) {
    const SimOptionsParse result =
        parse({"--link", "/tmp/unit", "--image=/tmp/unit.bin", "--version", "62", "--fault",
               "drop=3", "--fault=silent"});
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->linkPath, "/tmp/unit");
    EXPECT_EQ(result.options->imagePath, "/tmp/unit.bin");
    EXPECT_EQ(result.options->version, 62);
    EXPECT_TRUE(result.options->faults.silent());
    EXPECT_FALSE(result.options->help);
    EXPECT_TRUE(parse({"--help"}).options->help);
    EXPECT_EQ(parse({}).options->version, 63);
    EXPECT_FALSE(parse({}).options->exitWithParent);
    EXPECT_TRUE(parse({"--exit-with-parent"}).options->exitWithParent);
}

TEST(SimOptions, RejectsWhatItCannotUse) {
    for (const std::vector<std::string_view>& args :
         std::vector<std::vector<std::string_view>>{{"--verbose"},
                                                    {"--version"},
                                                    {"--version", "256"},
                                                    {"--version", "6x"},
                                                    {"--link", ""},
                                                    {"--fault", "flood=2"},
                                                    {"--fault", "drop"},
                                                    {"--fault", "drop=0"},
                                                    {"--fault", "corrupt=-1"},
                                                    {"--fault", "echo-mismatch=10"},
                                                    {"--fault", "echo-mismatch=0"},
                                                    {"--fault", "silent=1"},
                                                    {"--exit-with-parent=1"},
                                                    {"image.bin"}}) {
        const SimOptionsParse result = parse(args);
        EXPECT_FALSE(result.options) << args.front();
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(InfoBlock, CarriesIdentityDateVersionAndText) {
    UnitIdentity identity;
    identity.code = {'A', 'B', 'C'};
    identity.number = 7;
    identity.day = 25;
    identity.month = 2;
    identity.year = 2002;
    identity.version = 63;
    identity.text = "a text longer than the thirty characters sent";
    const auto block = makeInfoBlock(identity);
    EXPECT_EQ(block[0], 'A');
    EXPECT_EQ(block[3], 7);
    EXPECT_EQ(block[4], 25);
    EXPECT_EQ(block[5], 13);  // "Feb"
    EXPECT_EQ(block[6], 2);
    EXPECT_EQ(block[10], 63);
    EXPECT_EQ(std::string(block.begin() + 16, block.begin() + 46), identity.text.substr(0, 30));
    EXPECT_EQ(block[46], 0);
}

TEST(InfoBlock, MonthCodesAreTheSumsOfTheEnglishNames) {
    const std::array<std::uint8_t, 12> expected = {25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};
    for (int month = 1; month <= 12; ++month) EXPECT_EQ(monthCode(month), expected[month - 1]);
    EXPECT_EQ(monthCode(0), 0);
    EXPECT_EQ(monthCode(13), 0);
}

TEST(BuiltInImage, IsAlreadySane) {
    model::ParameterImage image = builtInImage();
    const model::ParameterImage before = image;
    model::sanitize(image);
    EXPECT_EQ(image, before);
    EXPECT_NE(image.get(model::Field::GEAR_PomerRpmSpeed, 5), 0);
}

TEST(ImageFile, RoundTripsAndReplacesAtomically) {
    const TempFolder dir("zelvor-sim-test-");
    const std::string path = dir.file("unit.bin");
    EXPECT_EQ(readImageFile(path).status, ImageFileRead::Status::Missing);

    model::ParameterImage image = builtInImage();
    image.setByte(1349, 0x5A);
    ASSERT_EQ(writeImageFile(path, image), "");
    image.setByte(0, 3);
    ASSERT_EQ(writeImageFile(path, image), "");
    const ImageFileRead read = readImageFile(path);
    ASSERT_EQ(read.status, ImageFileRead::Status::Loaded) << read.message;
    EXPECT_EQ(read.image, image);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("")), fs::directory_iterator()), 1);
}

TEST(ImageFile, WrongSizeIsRefusedWithAReason) {
    const TempFolder dir("zelvor-sim-test-");
    for (const std::size_t size : {0u, 1349u, 1351u}) {
        const std::string path = dir.file("short.bin");
        putFile(path, std::string(size, 'x'));
        const ImageFileRead read = readImageFile(path);
        EXPECT_EQ(read.status, ImageFileRead::Status::Invalid) << size;
        EXPECT_NE(read.message.find("1350"), std::string::npos);
    }
    EXPECT_EQ(readImageFile(dir.file("")).status, ImageFileRead::Status::Invalid);  // a folder
}

TEST(ImageFile, UnwritableFolderIsReported) {
    EXPECT_NE(writeImageFile("/nonexistent-folder/unit.bin", builtInImage()), "");
}

TEST(BlockStore, StoresBlocksWhereTheImageHasThem) {
    BlockStore store;
    std::array<std::uint8_t, 150> data{};
    data.fill(0xAB);
    store.store(9, data);
    EXPECT_EQ(store.image().byte(1200), 0xAB);
    EXPECT_EQ(store.image().byte(1349), 0xAB);
    EXPECT_EQ(store.image().byte(1199), builtInImage().byte(1199));
    EXPECT_TRUE(BlockStore::isBlock(1));
    EXPECT_FALSE(BlockStore::isBlock(0));
    EXPECT_FALSE(BlockStore::isBlock(10));
}

TEST(FrameAssembler, CutsFramesAcrossPiecesAndDropsLeftoversAfterAPause) {
    FrameAssembler assembler;
    const LinkFrame request = LinkFrame::make(0x43);
    const auto& bytes = request.bytes();
    EXPECT_TRUE(assembler.feed(std::span(bytes.data(), 100), milliseconds(0)).empty());
    const auto frames = assembler.feed(std::span(bytes.data() + 100, 52), milliseconds(5));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].bytes(), bytes);

    // A stray byte, then a pause: the next request is read from its start.
    const std::uint8_t stray = 0x77;
    assembler.feed(std::span(&stray, 1), milliseconds(100));
    const auto after = assembler.feed(bytes, milliseconds(200));
    ASSERT_EQ(after.size(), 1u);
    EXPECT_TRUE(after[0].checkOk());
    EXPECT_EQ(assembler.pendingBytes(), 0u);

    // Two requests in one read.
    std::vector<std::uint8_t> two(bytes.begin(), bytes.end());
    two.insert(two.end(), bytes.begin(), bytes.end());
    EXPECT_EQ(assembler.feed(two, milliseconds(300)).size(), 2u);
}

TEST(LinePacer, AnswerArrivesInChunksAfterBothFrameTimes) {
    LinePacer pacer;
    const microseconds frameTime = LinePacer::lineTime(152);
    EXPECT_NEAR(frameTime.count(), 26'389, 1);
    std::vector<std::uint8_t> answer(152);
    for (std::size_t i = 0; i < answer.size(); ++i) answer[i] = static_cast<std::uint8_t>(i);
    const microseconds received{1'000'000};
    pacer.schedule(answer, 152, received);

    const microseconds start = received + frameTime + LinePacer::kProcessingTime;
    EXPECT_TRUE(pacer.takeDue(start).empty());
    std::vector<std::uint8_t> got;
    int chunks = 0;
    while (const auto due = pacer.nextDue()) {
        const auto piece = pacer.takeDue(*due);
        ASSERT_FALSE(piece.empty());
        got.insert(got.end(), piece.begin(), piece.end());
        ++chunks;
        if (!pacer.nextDue()) {
            EXPECT_EQ(*due, start + frameTime);
        }
    }
    EXPECT_EQ(got, answer);
    EXPECT_GE(chunks, 3);
}

TEST(LinePacer, AnswersNeverOverlapOnTheLine) {
    LinePacer pacer;
    pacer.schedule(std::vector<std::uint8_t>(152, 1), 152, microseconds(0));
    pacer.schedule(std::vector<std::uint8_t>(152, 2), 152, microseconds(0));
    pacer.schedule({}, 152, microseconds(0));  // no answer: nothing queued
    const microseconds frameTime = LinePacer::lineTime(152);
    const microseconds firstEnd = frameTime * 2 + LinePacer::kProcessingTime;
    const auto first = pacer.takeDue(firstEnd);
    EXPECT_EQ(first, std::vector<std::uint8_t>(152, 1));
    EXPECT_EQ(pacer.takeDue(firstEnd + frameTime), std::vector<std::uint8_t>(152, 2));
    EXPECT_FALSE(pacer.nextDue());
}

TEST(DeviceLink, ReplacesOldLinkButNoFileAndRemovesItsOwnLink) {
    const TempFolder dir("zelvor-sim-test-");
    const std::string path = dir.file("unit");
    std::string error;
    ASSERT_EQ(::symlink("/dev/old-device", path.c_str()), 0);
    {
        const std::optional<DeviceLink> link = DeviceLink::create(path, "/dev/pts/99", error);
        ASSERT_TRUE(link) << error;
        EXPECT_EQ(fs::read_symlink(path), "/dev/pts/99");
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(path)));

    // A link that someone else replaced meanwhile is left alone.
    {
        const std::optional<DeviceLink> link = DeviceLink::create(path, "/dev/pts/98", error);
        ASSERT_TRUE(link);
        fs::remove(path);
        fs::create_symlink("/dev/pts/1", path);
    }
    EXPECT_EQ(fs::read_symlink(path), "/dev/pts/1");

    const std::string file = dir.file("settings.ini");
    putFile(file, "keep me");
    EXPECT_FALSE(DeviceLink::create(file, "/dev/pts/99", error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(file));
}

}  // namespace
}  // namespace zelvor::sim
