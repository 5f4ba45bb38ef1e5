#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildMonitorPage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
