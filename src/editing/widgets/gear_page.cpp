#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildGearPage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
