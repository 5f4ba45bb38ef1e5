#include "editing/widgets/position_spin_button.h"

#include <QToolButton>

namespace zelvor::widgets {

namespace {

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

TwoArrowSpinButton::TwoArrowSpinButton(QWidget* parent)
    : QWidget(parent),
      up_(arrowButton(this, Qt::UpArrow)),
      down_(arrowButton(this, Qt::DownArrow)) {
    connect(up_, &QToolButton::clicked, this, &TwoArrowSpinButton::up);
    connect(down_, &QToolButton::clicked, this, &TwoArrowSpinButton::down);
}

void TwoArrowSpinButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upperHeight = height() / 2;
    up_->setGeometry(0, 0, width(), upperHeight);
    down_->setGeometry(0, upperHeight, width(), height() - upperHeight);
}

}  // namespace zelvor::widgets
