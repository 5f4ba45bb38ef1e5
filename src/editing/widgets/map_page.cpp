#include "editing/widgets/pages.h"

namespace zelvor::widgets {

void buildMapPage(QWidget* /*page*/, ControlFactory& /*factory*/, int /*pageIndex*/) {}

}  // namespace zelvor::widgets
