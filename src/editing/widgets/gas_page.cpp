#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildGasPage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
