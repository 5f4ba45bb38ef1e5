#include "editing/widgets/radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace zelvor::widgets {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), buttons_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

void RadioGroup::setItems(const QStringList& items) {
    const int selected = itemIndex();
    const QList<QAbstractButton*> existing = buttons_->buttons();
    for (int i = 0; i < items.size(); ++i) {
        if (i < existing.size()) {
            existing[i]->setText(items[i]);
            continue;
        }
        auto* button = new QRadioButton(items[i], this);
        applyTabStop(button);
        buttons_->addButton(button, i);
        layout()->addWidget(button);
    }
    for (int i = static_cast<int>(items.size()); i < existing.size(); ++i) {
        buttons_->removeButton(existing[i]);
        delete existing[i];
    }
    setItemIndex(selected);
}

void RadioGroup::setTabStop(bool tabStop) {
    tabStop_ = tabStop;
    for (QAbstractButton* b : buttons_->buttons()) applyTabStop(b);
}

void RadioGroup::applyTabStop(QAbstractButton* button) const {
    button->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
}

QStringList RadioGroup::items() const {
    QStringList texts;
    for (QAbstractButton* b : buttons_->buttons()) texts << b->text();
    return texts;
}

int RadioGroup::itemIndex() const {
    return buttons_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (index == itemIndex()) return;
    if (QAbstractButton* target = buttons_->button(index)) {
        target->setChecked(true);
        return;
    }
    // Nothing selected: an exclusive group does not allow unchecking.
    buttons_->setExclusive(false);
    for (QAbstractButton* b : buttons_->buttons()) b->setChecked(false);
    buttons_->setExclusive(true);
}

}  // namespace zelvor::widgets
