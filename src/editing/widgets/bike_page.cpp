#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildBikePage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
