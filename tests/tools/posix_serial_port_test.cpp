#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace zelvor::link {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A pseudo-terminal whose slave side the port under test opens. The test
// holds a slave descriptor of its own, as the simulator does, and works the
// master side as the "device".
class PtyPair {
  public:
    PtyPair() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        path_ = ptsname(master_);
        slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() {
        closeMaster();
        if (slave_ >= 0) ::close(slave_);
    }
    bool ok() const { return master_ >= 0 && slave_ >= 0; }
    const std::string& path() const { return path_; }
    int slave() const { return slave_; }

    void send(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::vector<std::uint8_t> receive(std::size_t wanted, std::chrono::milliseconds patience = 2s) {
        std::vector<std::uint8_t> got;
        const auto deadline = Clock::now() + patience;
        while (got.size() < wanted && Clock::now() < deadline) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                got.insert(got.end(), buffer, buffer + n);
            } else {
                std::this_thread::sleep_for(1ms);
            }
        }
        return got;
    }
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

std::vector<std::uint8_t> pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 1);
    return bytes;
}

// The pseudo-terminal hands bytes over asynchronously; wait until they are
// queued at the port.
std::size_t waitForQueued(PosixSerialPort& port, std::size_t wanted) {
    const auto deadline = Clock::now() + 2s;
    std::size_t queued = port.queuedBytes();
    while (queued < wanted && Clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
        queued = port.queuedBytes();
    }
    return queued;
}

void expectQuietlyClosed(PosixSerialPort& port) {
    EXPECT_FALSE(port.isOpen());
    std::vector<std::uint8_t> buffer(152);
    EXPECT_EQ(port.queuedBytes(), 0u);
    EXPECT_EQ(port.read(buffer), 0u);
    EXPECT_FALSE(port.write(pattern(152)));
    port.purgeInput();
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TEST(PosixSerialPort, MissingDeviceFailsWithItsNameAndStaysClosed) {
    PosixSerialPort port;
    EXPECT_FALSE(port.open("/dev/zelvor-no-such-device"));
    EXPECT_NE(port.lastError().find("/dev/zelvor-no-such-device"), std::string::npos);
    // The reason alone, for callers that name the device themselves.
    EXPECT_EQ(port.lastReason(), "No such file or directory");
    EXPECT_EQ(port.lastError(), "/dev/zelvor-no-such-device: " + port.lastReason());
    expectQuietlyClosed(port);
}

TEST(PosixSerialPort, DeviceThatIsNoTerminalIsRefused) {
    PosixSerialPort port;
    EXPECT_FALSE(port.open("/dev/null"));
    EXPECT_NE(port.lastError().find("not a serial device"), std::string::npos);
    EXPECT_FALSE(port.isOpen());
}

TEST(PosixSerialPort, ConfiguresRawLineAndRestoresSettingsAtClose) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    termios before{};
    ASSERT_EQ(tcgetattr(pty.slave(), &before), 0);
    ASSERT_TRUE(before.c_lflag & ICANON);  // a fresh terminal is in line mode

    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path())) << port.lastError();
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(port.lastError().empty());
    termios open{};
    ASSERT_EQ(tcgetattr(pty.slave(), &open), 0);
    EXPECT_EQ(cfgetospeed(&open), B57600);
    EXPECT_EQ(cfgetispeed(&open), B57600);
    EXPECT_EQ(open.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(open.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(open.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(open.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(open.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(open.c_oflag & OPOST, 0u);

    port.close();
    EXPECT_FALSE(port.isOpen());
    termios after{};
    ASSERT_EQ(tcgetattr(pty.slave(), &after), 0);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);

    // Closing gave up the exclusive use: the device opens again.
    EXPECT_TRUE(port.open(pty.path())) << port.lastError();
}

TEST(PosixSerialPort, ReadsOnlyWhatIsQueuedWithoutTranslation) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path()));
    // Bytes a terminal in line mode would translate or act on.
    std::vector<std::uint8_t> sent = pattern(200);
    sent[0] = '\r';
    sent[1] = 0x03;  // interrupt character
    sent[2] = 0x11;  // XON
    sent[3] = 0x00;
    sent[4] = 0xFF;
    pty.send(sent);
    ASSERT_EQ(waitForQueued(port, 200), 200u);

    std::vector<std::uint8_t> first(152);
    EXPECT_EQ(port.read(first), 152u);
    EXPECT_EQ(port.queuedBytes(), 48u);
    std::vector<std::uint8_t> rest(15000);
    const auto start = Clock::now();
    EXPECT_EQ(port.read(rest), 48u);  // asks for more than is queued: no waiting
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), sent.begin()));
    EXPECT_TRUE(std::equal(rest.begin(), rest.begin() + 48, sent.begin() + 152));
    EXPECT_EQ(port.queuedBytes(), 0u);
    EXPECT_EQ(port.read(rest), 0u);
    EXPECT_TRUE(port.isOpen());
}

TEST(PosixSerialPort, WritesWholeFrameAndPurgesInput) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path()));
    const std::vector<std::uint8_t> frame = pattern(152);
    EXPECT_TRUE(port.write(frame));
    EXPECT_EQ(pty.receive(152), frame);

    pty.send(pattern(60));
    ASSERT_EQ(waitForQueued(port, 60), 60u);
    port.purgeInput();
    EXPECT_EQ(port.queuedBytes(), 0u);
    EXPECT_TRUE(port.isOpen());
}

TEST(PosixSerialPort, WriteToLineNobodyReadsGivesUpInsteadOfHanging) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path()));
    // The master never reads, so the terminal's buffer fills up.
    const std::vector<std::uint8_t> frame = pattern(152);
    bool refused = false;
    for (int i = 0; i < 5000 && !refused; ++i) {
        const auto start = Clock::now();
        refused = !port.write(frame);
        EXPECT_LT(Clock::now() - start, 2s);
    }
    EXPECT_TRUE(refused);
    EXPECT_TRUE(port.isOpen());  // a full buffer is no lost device
}

TEST(PosixSerialPort, VanishedDeviceClosesThePortOnce) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.path()));
    pty.closeMaster();  // as if the adapter were pulled out

    EXPECT_EQ(port.queuedBytes(), 0u);
    EXPECT_FALSE(port.isOpen());
    EXPECT_NE(port.lastError().find(pty.path()), std::string::npos);
    EXPECT_EQ(port.lastReason().find(pty.path()), std::string::npos);
    EXPECT_FALSE(port.lastReason().empty());
    expectQuietlyClosed(port);
}

TEST(PosixSerialPort, VanishedDeviceIsNoticedByWriteAndRead) {
    for (const bool byWrite : {true, false}) {
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        PosixSerialPort port;
        ASSERT_TRUE(port.open(pty.path()));
        pty.closeMaster();
        std::vector<std::uint8_t> buffer(152);
        if (byWrite) {
            EXPECT_FALSE(port.write(pattern(152)));
        } else {
            EXPECT_EQ(port.read(buffer), 0u);
        }
        EXPECT_FALSE(port.isOpen()) << (byWrite ? "write" : "read");
        expectQuietlyClosed(port);
    }
}

TEST(PosixSerialPort, OpeningAgainReplacesTheOpenDevice) {
    PtyPair first;
    PtyPair second;
    ASSERT_TRUE(first.ok() && second.ok());
    PosixSerialPort port;
    ASSERT_TRUE(port.open(first.path()));
    ASSERT_TRUE(port.open(second.path()));
    EXPECT_TRUE(port.write(pattern(152)));
    EXPECT_EQ(second.receive(152).size(), 152u);
    EXPECT_TRUE(first.receive(1, 50ms).empty());
}

}  // namespace
}  // namespace zelvor::link
