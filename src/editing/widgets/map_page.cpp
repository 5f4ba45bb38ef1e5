#include <QLabel>

#include "editing/widgets/pages.h"

namespace zelvor::widgets {

// The map grid is not built yet: each map page says where its map is.
void buildMapPage(QWidget* page, ControlFactory& /*factory*/, int /*pageIndex*/) {
    auto* note = new QLabel(page);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    note->setGeometry(16, 16, 991, 32);
    note->setText(QStringLiteral(
        "This map is kept in the parameter set (files, reading and programming the unit). "
        "It will be edited on this page in a coming version."));
}

}  // namespace zelvor::widgets
