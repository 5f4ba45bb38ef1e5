#include "doctor/user_identity.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zelvor::doctor {

namespace {

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

}  // namespace

UserIdentity UserIdentity::current() {
    UserIdentity user;
    user.uid = ::geteuid();
    user.gid = ::getegid();
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        user.groups.resize(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, user.groups.data());
        user.groups.resize(static_cast<std::size_t>(std::max(got, 0)));
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(user.uid, &entry, buffer.data(), buffer.size(), &result) == 0 && result) {
        user.name = result->pw_name;
    } else if (const char* name = std::getenv("USER"); name && *name) {
        user.name = name;
    } else {
        user.name = std::to_string(user.uid);
    }
    return user;
}

bool UserIdentity::hasGroup(gid_t group) const {
    return gid == group || std::find(groups.begin(), groups.end(), group) != groups.end();
}

std::vector<GroupEntry> readGroupFile(const std::filesystem::path& path) {
    std::vector<GroupEntry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string> fields = splitAt(line, ':');
        if (fields.size() < 3 || fields[0].empty()) continue;
        GroupEntry entry;
        entry.name = fields[0];
        const std::string& number = fields[2];
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), entry.gid);
        if (error != std::errc() || end != number.data() + number.size()) continue;
        if (fields.size() > 3) {
            for (std::string& member : splitAt(fields[3], ',')) {
                if (!member.empty()) entry.members.push_back(std::move(member));
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<GroupEntry> findGroup(const std::vector<GroupEntry>& groups, gid_t gid) {
    const auto found = std::find_if(groups.begin(), groups.end(),
                                    [&](const GroupEntry& g) { return g.gid == gid; });
    if (found == groups.end()) return std::nullopt;
    return *found;
}

}  // namespace zelvor::doctor
