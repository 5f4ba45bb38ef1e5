#pragma once

#include "datalog/log_row.h"
#include "link/link_frame.h"

namespace zelvor::datalog {

// The monitor answer a log row was made from, as far as the row keeps it:
// every channel's value and every flag, a reading logged as "error" as the
// fault the unit reports for it. Decoded again it shows the row in the live
// display as the unit showed it. A broken air sensor was logged as its
// fixed value and comes back as that value.
link::LinkFrame monitorAnswerOf(const LogRow& row);

}  // namespace zelvor::datalog
