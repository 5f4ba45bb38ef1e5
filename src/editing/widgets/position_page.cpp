#include <QGroupBox>

#include "editing/widgets/pages.h"
#include "editing/widgets/pages_first_layout.h"
#include "editing/widgets/position_spin_button.h"
#include "editing/widgets/radio_group.h"

namespace zelvor::widgets {

// The injection position table: 15 columns of engine speed over injection
// angle. Its editors are built later from their bindings, at i * 60 + 44 in
// the rows of the two anchor labels, so the group box spans the page. The
// "All" choice and the arrows that step the angles sit right of the table.
void buildPositionPage(QWidget* page, ControlFactory& factory) {
    QWidget* table = factory.groupBox(page, "GroupBoxPolohaA", QRect(8, 8, 1007, 96));
    factory.label(table, "LabelPolohaA_1", QRect(8, 32, 34, kCaptionHeight));
    factory.label(table, "LabelPolohaA_2", QRect(8, 64, 34, kCaptionHeight));
    factory.checkBox(table, "CheckBoxAll_PolohaA", QRect(948, 30, 56, kCheckBoxHeight));
    auto* steps = new TwoArrowSpinButton(table);
    steps->setGeometry(954, 56, 20, 30);
    factory.registry().add("CSpinButtonPolohaA", steps);

    // Tab walks the table's editors; the injection position is picked with
    // the mouse.
    factory.radioGroup(page, "RadioGroupPolohaA", QRect(8, 112, 170, 92))->setTabStop(false);
    factory.valueLabel(page, "LabelMon_PolohaA", QRect(190, 131, 180, kReadoutHeight));
}

}  // namespace zelvor::widgets
