#pragma once

// The temporary file a write goes to before it takes the target's place.
#include <filesystem>
#include <string>

namespace zelvor::model::detail {

// An open temporary file; whatever of it is left when it goes (its
// descriptor, its name) is closed and removed.
class Temporary {
  public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary();

    int fd() const { return fd_; }
    const std::filesystem::path& name() const { return name_; }

    // Opens a new empty file in folder for writing: without a name where the
    // file system allows it (nothing is left when the process is killed),
    // else under a short name of this process, after removing the stale
    // temporary files of dead processes. 0 or the errno.
    int create(const std::filesystem::path& folder, const std::string& targetName);
    // Gives a file without a name a short name in folder, ready to be renamed
    // over the target; a named file keeps its name. 0 or the errno.
    int giveName(const std::filesystem::path& folder, const std::string& targetName);
    // Closes the descriptor. 0 or the errno.
    int close();
    // The file now is the target: nothing is left to remove.
    void release() { name_.clear(); }
    // Removes the file's name at once.
    void remove();

  private:
    int fd_ = -1;
    std::filesystem::path name_;
};

}  // namespace zelvor::model::detail
