#include "editing/widgets/colours.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QVariant>

namespace zelvor::widgets {

namespace {

constexpr const char* kBackgroundProperty = "zelvorBackground";
constexpr const char* kGaugeProperty = "zelvorGaugeColour";

bool isEdit(const QWidget* widget) {
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr;
}

}  // namespace

QColor toQColor(editing::Colour colour) {
    switch (colour) {
        case editing::Colour::ButtonFace:
            return QApplication::palette().color(QPalette::Button);
        case editing::Colour::Window:
            return QApplication::palette().color(QPalette::Base);
        case editing::Colour::White:
            return QColor(0xFF, 0xFF, 0xFF);
        case editing::Colour::Red:
            return QColor(0xFF, 0x00, 0x00);
        case editing::Colour::Lime:
            return QColor(0x00, 0xFF, 0x00);
        case editing::Colour::Aqua:
            return QColor(0x00, 0xFF, 0xFF);
        case editing::Colour::Fuchsia:
            return QColor(0xFF, 0x00, 0xFF);
        case editing::Colour::Yellow:
            return QColor(0xFF, 0xFF, 0x00);
        case editing::Colour::Blue:
            return QColor(0x00, 0x00, 0xFF);
    }
    return QApplication::palette().color(QPalette::Button);
}

editing::Colour currentBackground(const QWidget* widget) {
    const QVariant v = widget->property(kBackgroundProperty);
    if (v.isValid()) return static_cast<editing::Colour>(v.toInt());
    return isEdit(widget) ? editing::Colour::Window : editing::Colour::ButtonFace;
}

void setBackground(QWidget* widget, editing::Colour colour) {
    if (widget == nullptr) return;
    const QVariant v = widget->property(kBackgroundProperty);
    if (v.isValid() && v.toInt() == static_cast<int>(colour)) return;
    widget->setProperty(kBackgroundProperty, static_cast<int>(colour));
    QPalette palette = widget->palette();
    if (isEdit(widget)) {
        palette.setColor(QPalette::Base, toQColor(colour));
        // The line edit inside a spin box paints its own base.
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) {
            if (QLineEdit* edit = spin->findChild<QLineEdit*>()) {
                QPalette editPalette = edit->palette();
                editPalette.setColor(QPalette::Base, toQColor(colour));
                edit->setPalette(editPalette);
            }
        }
    } else {
        widget->setAutoFillBackground(true);
        palette.setColor(QPalette::Window, toQColor(colour));
    }
    widget->setPalette(palette);
}

void setGaugeColour(QProgressBar* gauge, editing::Colour colour) {
    if (gauge == nullptr) return;
    const QVariant v = gauge->property(kGaugeProperty);
    if (v.isValid() && v.toInt() == static_cast<int>(colour)) return;
    gauge->setProperty(kGaugeProperty, static_cast<int>(colour));
    QPalette palette = gauge->palette();
    palette.setColor(QPalette::Highlight, toQColor(colour));
    gauge->setPalette(palette);
}

void setGaugeProgress(QProgressBar* gauge, int progress) {
    if (gauge == nullptr) return;
    const int limited = std::clamp(progress, gauge->minimum(), gauge->maximum());
    if (gauge->value() != limited) gauge->setValue(limited);
}

void setLabelText(QWidget* label, const QString& text) {
    if (auto* l = qobject_cast<QLabel*>(label); l != nullptr && l->text() != text) l->setText(text);
}

}  // namespace zelvor::widgets
