// Why a device may not open, and the remedies, against a made-up system.
#include "doctor/port_diagnosis.h"

#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_system.h"

namespace zelvor::doctor {
namespace {

using testing::FakeSystem;
using ::testing::HasSubstr;
using ::testing::Not;

bool remedyHas(const Finding& finding, const std::string& line) {
    return std::find(finding.remedy.begin(), finding.remedy.end(), line) != finding.remedy.end();
}

std::string remedyText(const Finding& finding) {
    std::string text;
    for (const std::string& line : finding.remedy) text += line + "\n";
    return text;
}

std::vector<FindingKind> kindsOf(const std::vector<Finding>& findings) {
    std::vector<FindingKind> kinds;
    for (const Finding& finding : findings) kinds.push_back(finding.kind);
    return kinds;
}

// The device files of the made-up system belong to whoever runs the tests;
// the user who asks is somebody else unless a test says otherwise.
class PortDiagnosis : public ::testing::Test {
  protected:
    PortDiagnosis() {
        if (::geteuid() == 0) {
            // Root owns what it makes, and root is refused nothing: the
            // files are handed to an ordinary owner and group instead.
            fileOwner = 4321;
            fileGroup = 4320;
        } else {
            struct stat info {};
            const auto probe = system.addDevice("probe");
            ::stat(probe.c_str(), &info);
            fileOwner = info.st_uid;
            fileGroup = info.st_gid;
            std::filesystem::remove(probe);
        }
        system.writeGroupFile(
            "root:x:0:\n# a comment line\nbroken line\n"
            "dialout:x:" +
            std::to_string(fileGroup) +
            ":alice,carol\n"
            "plugdev:x:" +
            std::to_string(fileGroup + 1) + ":bob\n");
        bob.uid = fileOwner + 1000;
        bob.gid = fileGroup + 1;
        bob.name = "bob";
    }

    NamedDevice device(const std::string& given) const {
        return locateDevice(system.roots(), given);
    }

    // A device of the ordinary owner and group.
    std::filesystem::path ordinaryDevice(const std::string& name, mode_t mode = 0660) {
        const auto path = system.addDevice(name, mode);
        makeOrdinary(path);
        return path;
    }

    void makeOrdinary(const std::filesystem::path& path) {
        if (::geteuid() == 0) {
            EXPECT_EQ(::chown(path.c_str(), fileOwner, fileGroup), 0);
        }
    }

    FakeSystem system;
    uid_t fileOwner = 0;
    gid_t fileGroup = 0;
    UserIdentity bob;
};

TEST_F(PortDiagnosis, DevicesAreNamedByPathByIdNameOrBareName) {
    system.addDevice("ttyUSB0");
    system.addById("usb-FTDI_FT232R-if00-port0", "ttyUSB0");
    const auto real = system.roots().dev / "ttyUSB0";

    for (const std::string given : {"/dev/ttyUSB0", "ttyUSB0", "usb-FTDI_FT232R-if00-port0",
                                    "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"}) {
        const NamedDevice named = device(given);
        EXPECT_TRUE(named.exists) << given;
        EXPECT_EQ(named.device, real) << given;
        EXPECT_EQ(named.given, given);
    }
    EXPECT_FALSE(device("ttyUSB5").exists);
}

TEST_F(PortDiagnosis, MissingDeviceNamesTheDevicesPresent) {
    system.addUsbAdapter("ttyUSB1", "0403", "6001");
    system.addBuiltInPort("ttyS0", 4);

    const std::vector<Finding> findings =
        diagnoseDevice(system.roots(), device("/dev/ttyUSB0"), bob, 1);
    ASSERT_EQ(kindsOf(findings), std::vector<FindingKind>{FindingKind::Missing});
    EXPECT_EQ(findings[0].problem, "/dev/ttyUSB0 does not exist.");
    const std::string remedy = remedyText(findings[0]);
    EXPECT_THAT(remedy, HasSubstr((system.roots().dev / "ttyUSB1").string() + " (USB 0403:6001)"));
    EXPECT_THAT(remedy, HasSubstr((system.roots().dev / "ttyS0").string()));
    EXPECT_THAT(remedy, HasSubstr("/dev/serial/by-id"));
    EXPECT_THAT(remedy, HasSubstr("[PORTS]"));
}

// The remedy gives the settings line that binds a Com item to an adapter's
// lasting name, with the name of an adapter that is plugged in.
TEST_F(PortDiagnosis, MissingDeviceShowsHowToBindAComItemToTheByIdName) {
    system.addUsbAdapter("ttyUSB1", "0403", "6001");
    system.addById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB1");
    const std::optional<Finding> finding = missingFinding(system.roots(), device("/dev/ttyUSB0"));
    ASSERT_TRUE(finding);
    EXPECT_THAT(remedyText(*finding),
                HasSubstr("COM1=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
}

TEST_F(PortDiagnosis, ByIdNameOfAnUnpluggedAdapterAndAnEmptySystem) {
    system.addById("usb-FTDI_FT232R-if00-port0", "ttyUSB0");
    const std::optional<Finding> finding =
        missingFinding(system.roots(), device("usb-FTDI_FT232R-if00-port0"));
    ASSERT_TRUE(finding);
    EXPECT_THAT(finding->problem, HasSubstr("not plugged in"));
    EXPECT_THAT(finding->problem, HasSubstr((system.roots().dev / "ttyUSB0").string()));
    EXPECT_THAT(remedyText(*finding), HasSubstr("No serial device is present"));
}

TEST_F(PortDiagnosis, FolderOrEmptyNameIsNoDevice) {
    std::filesystem::create_directories(system.roots().dev / "bus");
    const NamedDevice folder = device("/dev/bus");
    EXPECT_FALSE(folder.exists);
    const std::optional<Finding> finding = missingFinding(system.roots(), folder);
    ASSERT_TRUE(finding);
    EXPECT_EQ(finding->problem, "/dev/bus is a folder, not a serial device.");

    // An empty name must not fall on the by-id folder itself.
    const NamedDevice empty = device("");
    EXPECT_FALSE(empty.exists);
    EXPECT_EQ(missingFinding(system.roots(), empty)->problem, "No device was named.");
}

TEST_F(PortDiagnosis, UserOutsideTheDevicesGroupGetsTheUsermodCommand) {
    ordinaryDevice("ttyUSB0", 0660);

    const std::optional<Finding> finding =
        permissionFinding(system.roots(), device("ttyUSB0"), bob);
    ASSERT_TRUE(finding);
    EXPECT_EQ(finding->kind, FindingKind::NoPermission);
    EXPECT_THAT(finding->problem, HasSubstr("its mode is -rw-rw----, its group is dialout"));
    EXPECT_THAT(finding->problem, HasSubstr("you are not one"));
    EXPECT_TRUE(remedyHas(*finding, "sudo usermod -aG dialout bob"));
    EXPECT_THAT(remedyText(*finding), HasSubstr("log out and log in again"));
}

TEST_F(PortDiagnosis, MemberListedInTheGroupFileNeedsOnlyANewLogin) {
    ordinaryDevice("ttyUSB0", 0660);
    UserIdentity alice = bob;
    alice.name = "alice";

    const std::optional<Finding> finding =
        permissionFinding(system.roots(), device("ttyUSB0"), alice);
    ASSERT_TRUE(finding);
    EXPECT_THAT(finding->problem, HasSubstr("You are in group dialout, but this login session"));
    EXPECT_THAT(remedyText(*finding), Not(HasSubstr("usermod")));
    EXPECT_THAT(remedyText(*finding), HasSubstr("Log out and log in again"));
}

TEST_F(PortDiagnosis, SessionWithTheGroupOwnerAndRootMayOpenIt) {
    ordinaryDevice("ttyUSB0", 0660);
    UserIdentity member = bob;
    member.groups = {fileGroup + 7, fileGroup};
    EXPECT_FALSE(permissionFinding(system.roots(), device("ttyUSB0"), member));

    UserIdentity owner = bob;
    owner.uid = fileOwner;
    EXPECT_FALSE(permissionFinding(system.roots(), device("ttyUSB0"), owner));

    system.addDevice("ttyUSB1", 0000);
    UserIdentity root = bob;
    root.uid = 0;
    EXPECT_FALSE(permissionFinding(system.roots(), device("ttyUSB1"), root));
}

TEST_F(PortDiagnosis, WriteOnlyOrReadOnlyIsNotEnough) {
    ordinaryDevice("ttyUSB0", 0640);
    UserIdentity member = bob;
    member.groups = {fileGroup};
    const std::optional<Finding> finding =
        permissionFinding(system.roots(), device("ttyUSB0"), member);
    ASSERT_TRUE(finding);
    // Joining the group would not help: it may only read.
    EXPECT_THAT(remedyText(*finding), Not(HasSubstr("usermod")));
    EXPECT_TRUE(
        remedyHas(*finding, "sudo chmod a+rw " + (system.roots().dev / "ttyUSB0").string()));
}

TEST_F(PortDiagnosis, OwnDeviceWithModeZeroIsMendedWithChmod) {
    const auto path = ordinaryDevice("ttyUSB0", 0000);
    UserIdentity owner = bob;
    owner.uid = fileOwner;

    const std::optional<Finding> finding =
        permissionFinding(system.roots(), device("ttyUSB0"), owner);
    ASSERT_TRUE(finding);
    EXPECT_THAT(finding->problem, HasSubstr("its mode is ----------"));
    EXPECT_THAT(finding->problem, HasSubstr("belongs to you"));
    EXPECT_TRUE(remedyHas(*finding, "chmod u+rw " + path.string()));
}

TEST_F(PortDiagnosis, GroupNumberWithoutNameIsShownAsNumber) {
    system.writeGroupFile("");
    ordinaryDevice("ttyUSB0", 0660);
    const std::optional<Finding> finding =
        permissionFinding(system.roots(), device("ttyUSB0"), bob);
    ASSERT_TRUE(finding);
    EXPECT_THAT(finding->problem, HasSubstr("its group is " + std::to_string(fileGroup)));
}

TEST_F(PortDiagnosis, ProcessHoldingTheDeviceIsNamed) {
    const auto path = system.addDevice("ttyUSB0");
    system.addDevice("ttyUSB1");
    system.addById("usb-FTDI_FT232R-if00-port0", "ttyUSB0");
    system.addProcess(1, "systemd", {"/dev/null"});
    system.addProcess(4242, "minicom", {"/dev/pts/3", path});
    system.addProcess(5000, "zelvor", {system.roots().dev / "ttyUSB1"});
    std::filesystem::create_directories(system.roots().proc / "self");  // not a number

    for (const std::string given : {"ttyUSB0", "usb-FTDI_FT232R-if00-port0"}) {
        const std::optional<Finding> finding = busyFinding(system.roots(), device(given), 77);
        ASSERT_TRUE(finding) << given;
        EXPECT_EQ(finding->kind, FindingKind::Busy);
        EXPECT_EQ(finding->problem, path.string() + " is in use by process 4242 (minicom).");
        EXPECT_TRUE(remedyHas(*finding, "kill 4242"));
        EXPECT_FALSE(remedyHas(*finding, "kill 5000"));
    }
    // The doctor's own process does not count.
    EXPECT_FALSE(busyFinding(system.roots(), device("ttyUSB1"), 5000));
}

TEST_F(PortDiagnosis, PseudoTerminalHeldByItsMakerIsNotBusy) {
    std::filesystem::create_directories(system.roots().dev / "pts");
    const auto path = system.addDevice("pts/7");
    system.addProcess(300, "zelvor-sim", {system.roots().dev / "ptmx", path});
    EXPECT_FALSE(busyFinding(system.roots(), device("/dev/pts/7"), 1));
}

TEST_F(PortDiagnosis, ModemManagerOnAUsbAdapterGetsAUdevRuleForIt) {
    system.addUsbAdapter("ttyUSB0", "0403", "6001", "FTDI", "FT232R USB UART");
    system.addBuiltInPort("ttyS0", 4);
    EXPECT_FALSE(modemManagerFinding(system.roots(), device("ttyUSB0"))) << "not running";

    system.addProcess(812, "ModemManager");
    system.addProcess(813, "ModemManagerX");
    const std::optional<Finding> finding = modemManagerFinding(system.roots(), device("ttyUSB0"));
    ASSERT_TRUE(finding);
    EXPECT_EQ(finding->kind, FindingKind::ModemManager);
    EXPECT_THAT(finding->problem, HasSubstr("ModemManager is running (process 812)."));
    EXPECT_THAT(finding->problem, Not(HasSubstr("813")));
    EXPECT_THAT(finding->problem, HasSubstr("USB 0403:6001"));
    EXPECT_TRUE(remedyHas(
        *finding,
        "echo 'ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
        "ENV{ID_MM_DEVICE_IGNORE}=\"1\"' | sudo tee /etc/udev/rules.d/99-zelvor-0403-6001.rules"));
    EXPECT_TRUE(remedyHas(*finding, "sudo udevadm control --reload-rules"));
    EXPECT_THAT(remedyText(*finding), HasSubstr("unplug the adapter and plug it in again"));

    // A built-in port is none of its business.
    EXPECT_FALSE(modemManagerFinding(system.roots(), device("ttyS0")));
}

TEST_F(PortDiagnosis, AllFindingsOfOneDeviceTogether) {
    system.addUsbAdapter("ttyUSB0", "2341", "0043");
    makeOrdinary(system.roots().dev / "ttyUSB0");
    system.addProcess(812, "ModemManager", {system.roots().dev / "ttyUSB0"});

    EXPECT_EQ(kindsOf(diagnoseDevice(system.roots(), device("ttyUSB0"), bob, 1)),
              (std::vector<FindingKind>{FindingKind::NoPermission, FindingKind::Busy,
                                        FindingKind::ModemManager}));
    UserIdentity member = bob;
    member.groups = {fileGroup};
    std::filesystem::remove_all(system.roots().proc / "812");
    EXPECT_TRUE(diagnoseDevice(system.roots(), device("ttyUSB0"), member, 1).empty());
}

TEST(GroupFile, EntriesMembersAndBrokenLines) {
    FakeSystem system;
    system.writeGroupFile(
        "root:x:0:\r\ndialout:x:20:alice,bob,\nnonumber:x::\nbad:x:2x:\n"
        "short:x\n:x:5:\nplugdev:x:46:carol\n");
    const std::vector<GroupEntry> groups = readGroupFile(system.roots().groupFile);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].name, "root");
    EXPECT_TRUE(groups[0].members.empty());
    EXPECT_EQ(groups[1].gid, 20u);
    EXPECT_EQ(groups[1].members, (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(findGroup(groups, 46)->name, "plugdev");
    EXPECT_FALSE(findGroup(groups, 47));
    EXPECT_TRUE(readGroupFile(system.roots().groupFile.parent_path() / "missing").empty());
}

TEST(UserIdentityOfThisProcess, HasItsIdsAndAName) {
    const UserIdentity user = UserIdentity::current();
    EXPECT_EQ(user.uid, ::geteuid());
    EXPECT_TRUE(user.hasGroup(::getegid()));
    EXPECT_FALSE(user.name.empty());
}

}  // namespace
}  // namespace zelvor::doctor
