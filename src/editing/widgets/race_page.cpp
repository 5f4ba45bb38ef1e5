#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildRacePage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
