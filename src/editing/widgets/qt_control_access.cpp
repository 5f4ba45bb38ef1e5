#include "editing/widgets/qt_control_access.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>

#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/radio_group.h"

namespace zelvor::widgets {

int QtControlAccess::position(const editing::Binding& spinner) const {
    auto* box = qobject_cast<CommitSpinBox*>(control(spinner));
    return box != nullptr ? box->takeValue() : spinner.minimum;
}

void QtControlAccess::setPosition(const editing::Binding& spinner, int position) {
    auto* box = qobject_cast<QSpinBox*>(control(spinner));
    if (box == nullptr) return;
    // setValue limits to the range and puts the grouped number into the edit.
    if (box->value() != position) {
        box->setValue(position);
    } else if (auto* commit = qobject_cast<CommitSpinBox*>(box)) {
        commit->takeValue();  // drops typed text that was never taken
        box->setValue(position);
    }
}

bool QtControlAccess::isChecked(const editing::Binding& checkBox) const {
    auto* box = qobject_cast<QCheckBox*>(control(checkBox));
    return box != nullptr && box->isChecked();
}

void QtControlAccess::setChecked(const editing::Binding& checkBox, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(control(checkBox))) box->setChecked(checked);
}

int QtControlAccess::itemIndex(const editing::Binding& binding) const {
    QObject* object = control(binding);
    if (auto* group = qobject_cast<RadioGroup*>(object)) return group->itemIndex();
    if (auto* combo = qobject_cast<QComboBox*>(object)) return combo->currentIndex();
    return -1;
}

void QtControlAccess::setItemIndex(const editing::Binding& binding, int index) {
    QObject* object = control(binding);
    if (auto* group = qobject_cast<RadioGroup*>(object)) {
        group->setItemIndex(index);
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

std::string QtControlAccess::text(const editing::Binding& memo) const {
    auto* edit = qobject_cast<QPlainTextEdit*>(control(memo));
    return edit != nullptr ? edit->toPlainText().toStdString() : std::string();
}

void QtControlAccess::setText(const editing::Binding& memo, std::string_view utf8) {
    auto* edit = qobject_cast<QPlainTextEdit*>(control(memo));
    if (edit == nullptr) return;
    const QString text = ControlRegistry::toQString(utf8);
    if (edit->toPlainText() != text) edit->setPlainText(text);
}

}  // namespace zelvor::widgets
