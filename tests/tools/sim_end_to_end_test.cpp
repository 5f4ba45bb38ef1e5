// The simulator as a separate process, reached through the real serial port
// code over a pseudo-terminal.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "../support/temp_folder.h"
#include "link/link_frame.h"
#include "link/posix_serial_port.h"
#include "sim/block_store.h"
#include "launcher/sim_process.h"

namespace zelvor::sim {
namespace {

namespace fs = std::filesystem;
using link::LinkFrame;
using link::PosixSerialPort;
using zelvor::testing::TempFolder;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const std::string kSimulator = ZELVOR_SIM_EXECUTABLE;

SimProcess startSimulator(const std::vector<std::string>& arguments = {}) {
    std::string error;
    std::optional<SimProcess> process = SimProcess::start(kSimulator, arguments, error);
    if (!process) throw std::runtime_error(error);
    return std::move(*process);
}

// Sends a request and waits for one answer frame.
std::optional<LinkFrame> exchange(PosixSerialPort& port, const LinkFrame& request,
                                  std::chrono::milliseconds patience = 1s) {
    if (!port.write(request.bytes())) return std::nullopt;
    const auto deadline = Clock::now() + patience;
    while (port.queuedBytes() < LinkFrame::kSize) {
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(1ms);
    }
    std::array<std::uint8_t, LinkFrame::kSize> bytes{};
    if (port.read(bytes) != bytes.size()) return std::nullopt;
    return LinkFrame::fromBytes(bytes);
}

std::array<std::uint8_t, 150> blockPattern() {
    std::array<std::uint8_t, 150> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(255 - i);
    return data;
}

TEST(SimulatorOverPty, AnswersBlockZeroWithVersion63) {
    SimProcess sim = startSimulator();
    PosixSerialPort port;
    ASSERT_TRUE(port.open(sim.devicePath())) << port.lastError();
    const std::optional<LinkFrame> answer = exchange(port, LinkFrame::make(0x40));
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->checkOk());
    EXPECT_EQ(answer->command(), 0xC0);
    EXPECT_EQ(answer->data()[10], 63);
    // The monitor answer follows on the same line.
    const std::optional<LinkFrame> monitor = exchange(port, LinkFrame::make(0x30));
    ASSERT_TRUE(monitor);
    EXPECT_TRUE(monitor->checkOk());
    EXPECT_EQ(monitor->command(), 0xB0);
}

TEST(SimulatorOverPty, ProgrammedBlockIsReadBackAndKeptInTheImageFile) {
    const TempFolder dir("zelvor-e2e-");
    const std::string image = dir.file("unit.bin");
    const auto data = blockPattern();
    {
        SimProcess sim = startSimulator({"--image", image});
        PosixSerialPort port;
        ASSERT_TRUE(port.open(sim.devicePath())) << port.lastError();
        const std::optional<LinkFrame> echo = exchange(port, LinkFrame::make(0x06, data));
        ASSERT_TRUE(echo);
        EXPECT_EQ(echo->command(), 0x86);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), echo->data().begin()));
        const std::optional<LinkFrame> read = exchange(port, LinkFrame::make(0x46));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->command(), 0xC6);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), read->data().begin()));
        EXPECT_EQ(sim.stop(), 0);
    }
    const ImageFileRead kept = readImageFile(image);
    ASSERT_EQ(kept.status, ImageFileRead::Status::Loaded) << kept.message;
    EXPECT_TRUE(std::equal(data.begin(), data.end(), kept.image.block(6).begin()));

    // A new run starts from what the last one kept.
    SimProcess sim = startSimulator({"--image", image});
    PosixSerialPort port;
    ASSERT_TRUE(port.open(sim.devicePath()));
    const std::optional<LinkFrame> read = exchange(port, LinkFrame::make(0x46));
    ASSERT_TRUE(read);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), read->data().begin()));
}

TEST(SimulatorOverPty, SilentUnitSendsNothing) {
    SimProcess sim = startSimulator({"--fault", "silent"});
    PosixSerialPort port;
    ASSERT_TRUE(port.open(sim.devicePath()));
    EXPECT_FALSE(exchange(port, LinkFrame::make(0x40), 200ms));
    EXPECT_EQ(port.queuedBytes(), 0u);
    EXPECT_TRUE(port.isOpen());
}

TEST(SimulatorOverPty, KilledSimulatorClosesThePortQuietly) {
    SimProcess sim = startSimulator();
    PosixSerialPort port;
    ASSERT_TRUE(port.open(sim.devicePath()));
    ASSERT_TRUE(exchange(port, LinkFrame::make(0x30)));
    sim.kill();

    // Poll as the window's tick does, with a send now and then.
    const auto deadline = Clock::now() + 2s;
    std::array<std::uint8_t, 152> buffer{};
    for (int tick = 0; port.isOpen() && Clock::now() < deadline; ++tick) {
        if (port.queuedBytes() >= buffer.size()) port.read(buffer);
        if (tick % 6 == 0) port.write(LinkFrame::make(0x30).bytes());
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.lastError().empty());
    EXPECT_EQ(port.queuedBytes(), 0u);
    EXPECT_EQ(port.read(buffer), 0u);
    EXPECT_FALSE(port.write(LinkFrame::make(0x30).bytes()));
}

TEST(SimulatorOverPty, LinkNamesTheDeviceUntilTheSimulatorStops) {
    const TempFolder dir("zelvor-e2e-");
    const std::string link = dir.file("zelvor-unit");
    SimProcess sim = startSimulator({"--link", link});
    EXPECT_EQ(fs::read_symlink(link), sim.devicePath());
    PosixSerialPort port;
    ASSERT_TRUE(port.open(link)) << port.lastError();
    EXPECT_TRUE(exchange(port, LinkFrame::make(0x41)));
    port.close();
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimulatorCommandLine, BadOptionsExitWithStatus2) {
    for (const char* arguments : {" --fault bogus", " --version 300", " --frobnicate"}) {
        const std::string command = kSimulator + arguments + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 2) << arguments;
    }
    const int help = std::system((kSimulator + " --help >/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(help), 0);
}

TEST(SimulatorCommandLine, BrokenImageFileIsRefusedAndLeftAlone) {
    const TempFolder dir("zelvor-e2e-");
    const std::string image = dir.file("broken.bin");
    zelvor::testing::putFile(image, "not an image");
    std::string error;
    EXPECT_FALSE(SimProcess::start(kSimulator, {"--image", image}, error));
    EXPECT_EQ(fs::file_size(image), 12u);
}

}  // namespace
}  // namespace zelvor::sim
