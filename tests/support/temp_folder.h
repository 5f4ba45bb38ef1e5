#pragma once

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zelvor::testing {

// The whole content of a file as bytes; a file that cannot be read reads as
// empty.
inline std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Writes content as the whole file, byte for byte.
inline void putFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A fresh folder of its own under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
  public:
    // namePrefix starts the folder's name; a unique ending is added.
    explicit TempFolder(const std::string& namePrefix) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (namePrefix + "XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder " + pattern + ": " +
                                     std::strerror(errno));
        }
        path_ = pattern;
    }
    ~TempFolder() {
        // A test may have taken the owner's rights away to make it read-only.
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Writes a file of the folder and returns its path.
    std::filesystem::path put(const std::string& name, const std::string& content) const {
        putFile(path_ / name, content);
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace zelvor::testing
