#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/temp_folder.h"
#include "doctor/system_roots.h"

namespace zelvor::doctor::testing {

// A made-up system in a temporary folder: devices as plain files, the
// system's tty class with USB devices behind it, the by-id links, processes
// with their command names and open files, and a group file.
class FakeSystem {
  public:
    FakeSystem() : folder_("zelvor-doctor-") {
        namespace fs = std::filesystem;
        fs::create_directories(roots().dev / "serial" / "by-id");
        fs::create_directories(roots().sys / "class" / "tty");
        fs::create_directories(roots().proc);
        fs::create_directories(roots().groupFile.parent_path());
    }

    SystemRoots roots() const { return SystemRoots::under(folder_.path()); }

    // A device file with the mode given; returns its path.
    std::filesystem::path addDevice(const std::string& name, mode_t mode = 0660) const {
        const auto path = roots().dev / name;
        zelvor::testing::putFile(path, "");
        ::chmod(path.c_str(), mode);
        return path;
    }

    // A built-in port; type 0 is a name the kernel keeps without a UART.
    void addBuiltInPort(const std::string& name, int uartType) const {
        addDevice(name);
        const auto folder = roots().sys / "class" / "tty" / name;
        std::filesystem::create_directories(folder);
        zelvor::testing::putFile(folder / "type", std::to_string(uartType) + "\n");
    }

    // A USB adapter as the system shows one: the USB device folder with its
    // ids and names, an interface folder below it and, for ttyUSB, a port
    // folder below that; the tty's device link points at the lowest one.
    void addUsbAdapter(const std::string& name, const std::string& vendor,
                       const std::string& product, const std::string& manufacturerName = "",
                       const std::string& productName = "") const {
        namespace fs = std::filesystem;
        addDevice(name);
        const std::string port = std::to_string(++usbPorts_);
        const fs::path usbDevice = roots().sys / "devices" / "pci0000:00" / "usb1" / ("1-" + port);
        const fs::path interface = usbDevice / ("1-" + port + ":1.0");
        const fs::path leaf = name.rfind("ttyUSB", 0) == 0 ? interface / name : interface;
        fs::create_directories(leaf);
        zelvor::testing::putFile(usbDevice / "idVendor", vendor + "\n");
        zelvor::testing::putFile(usbDevice / "idProduct", product + "\n");
        if (!manufacturerName.empty()) {
            zelvor::testing::putFile(usbDevice / "manufacturer", manufacturerName + "\n");
        }
        if (!productName.empty())
            zelvor::testing::putFile(usbDevice / "product", productName + "\n");
        const fs::path classFolder = roots().sys / "class" / "tty" / name;
        fs::create_directories(classFolder);
        fs::create_symlink(leaf, classFolder / "device");
    }

    // A name in serial/by-id, linked relatively as udev links them.
    void addById(const std::string& name, const std::string& target) const {
        std::filesystem::create_symlink("../../" + target, roots().dev / "serial" / "by-id" / name);
    }

    // A running process with its open files.
    void addProcess(pid_t pid, const std::string& command,
                    const std::vector<std::filesystem::path>& openFiles = {}) const {
        namespace fs = std::filesystem;
        const fs::path folder = roots().proc / std::to_string(pid);
        fs::create_directories(folder / "fd");
        zelvor::testing::putFile(folder / "comm", command + "\n");
        int descriptor = 0;
        for (const fs::path& file : openFiles) {
            fs::create_symlink(file, folder / "fd" / std::to_string(descriptor++));
        }
    }

    void writeGroupFile(const std::string& content) const {
        zelvor::testing::putFile(roots().groupFile, content);
    }

  private:
    zelvor::testing::TempFolder folder_;
    mutable int usbPorts_ = 0;
};

}  // namespace zelvor::doctor::testing
