#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildCorrectionsPage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
