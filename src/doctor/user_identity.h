#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "doctor/system_roots.h"

namespace zelvor::doctor {

// Who runs the program, as far as opening a device goes.
struct UserIdentity {
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups;  // supplementary groups of this login session
    std::string name;           // login name

    // The identity of this process: effective ids, getgroups and the login
    // name from the password database (or $USER, or the number).
    static UserIdentity current();

    bool isRoot() const { return uid == 0; }
    // Whether this session's process carries the group.
    bool hasGroup(gid_t group) const;
};

// One line of the group file.
struct GroupEntry {
    std::string name;
    gid_t gid = 0;
    std::vector<std::string> members;
};

// The entries of a group file; broken lines are skipped.
std::vector<GroupEntry> readGroupFile(const std::filesystem::path& path);

// The entry of a group by number, if the file has one.
std::optional<GroupEntry> findGroup(const std::vector<GroupEntry>& groups, gid_t gid);

}  // namespace zelvor::doctor
