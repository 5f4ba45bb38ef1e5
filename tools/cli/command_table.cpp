#include <vector>

#include "command.h"
#include "doctor_command.h"
#include "file_commands.h"
#include "history_command.h"
#include "map_command.h"
#include "monitor_command.h"
#include "transfer_commands.h"
#include "tune_command.h"

namespace zelvor::cli {

std::span<const Command> commandTable() {
    static const std::vector<Command> table = [] {
        std::vector<Command> all;
        // Each group of commands adds its rows here, in the order of the help.
        for (const auto& group : {fileCommands(), mapCommands(), transferCommands(),
                                  monitorCommands(), tuneCommands(), doctorCommands(),
                                  historyCommands()})
            all.insert(all.end(), group.begin(), group.end());
        return all;
    }();
    return table;
}

}  // namespace zelvor::cli
