#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildPositionPage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
