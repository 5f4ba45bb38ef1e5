#pragma once

#include <filesystem>

namespace zelvor::doctor {

// Where the doctor looks at the system. The real system is the default; tests
// point every root into a folder of their own that mimics it.
struct SystemRoots {
    std::filesystem::path dev = "/dev";
    std::filesystem::path sys = "/sys";
    std::filesystem::path proc = "/proc";
    std::filesystem::path groupFile = "/etc/group";

    // The same roots under one folder: folder/dev, folder/sys, folder/proc and
    // folder/etc/group.
    static SystemRoots under(const std::filesystem::path& folder) {
        return {folder / "dev", folder / "sys", folder / "proc", folder / "etc" / "group"};
    }

    // A path the user gave as it lies under these roots: "/dev/ttyUSB0" is
    // looked for under the device root; any other path stays as it is.
    std::filesystem::path rooted(const std::filesystem::path& path) const {
        const std::filesystem::path devicePrefix = "/dev";
        if (dev == devicePrefix || !path.is_absolute()) return path;
        auto part = path.begin();
        if (part == path.end() || *part != "/" || ++part == path.end() || *part != "dev")
            return path;
        std::filesystem::path result = dev;
        for (++part; part != path.end(); ++part) result /= *part;
        return result;
    }
};

}  // namespace zelvor::doctor
