#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildIdlePage(QWidget* /*page*/, ControlFactory& /*factory*/) {}

}  // namespace zelvor::widgets
