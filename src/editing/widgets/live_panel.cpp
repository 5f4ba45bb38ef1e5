#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildLivePanel(QWidget* /*panel*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
