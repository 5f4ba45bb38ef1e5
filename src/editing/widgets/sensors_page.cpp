#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildSensorsPage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
