#include "editing/widgets/control_factory.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "editing/control_binding.h"
#include "editing/page_bindings.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/mouse_up_check_box.h"
#include "editing/widgets/radio_group.h"
#include "editing/widgets/steady_palette_style.h"

namespace zelvor::widgets {

namespace {

template <typename T>
T* place(T* widget, ControlRegistry& registry, std::string_view name, QRect rect) {
    widget->setGeometry(rect);
    registry.add(name, widget);
    return widget;
}

void applyRange(CommitSpinBox* box, const editing::Binding& binding) {
    box->setRange(binding.minimum, binding.maximum);
    box->setSingleStep(binding.step);
    box->setValue(binding.startPosition.value_or(binding.minimum));
}

// Design-time edits take their value when left, run-time table editors when
// clicked into; the binding says which.
CommitSpinBox::CommitOn commitOn(const editing::Binding& binding) {
    return binding.commit == editing::Commit::Click ? CommitSpinBox::CommitOn::Click
                                                    : CommitSpinBox::CommitOn::Leave;
}

const editing::Binding& requireBinding(std::string_view control, int element = -1) {
    const editing::Binding* binding = editing::findBinding(control, element);
    if (binding == nullptr) throw std::logic_error("no binding for " + std::string(control));
    return *binding;
}

// The table editors stand 56 px wide in columns 60 px apart, too narrow for
// a grouped five-digit number ("25,000") beside the usual arrow column. Their
// arrows are narrower and the edit field takes the room.
class CompactSpinBoxStyle : public SteadyPaletteStyle {
  public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
        if (control != CC_SpinBox) return rect;
        const QRect up = QProxyStyle::subControlRect(control, option, SC_SpinBoxUp, widget);
        const int gain = std::max(0, up.width() - kCompactArrowWidth);
        if (sub == SC_SpinBoxUp || sub == SC_SpinBoxDown) {
            rect.setLeft(rect.left() + gain);
        } else if (sub == SC_SpinBoxEditField) {
            rect.setLeft(rect.left() - 1);
            rect.setRight(rect.right() + gain);
        }
        return rect;
    }
};

}  // namespace

QStyle* compactSpinBoxStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new CompactSpinBoxStyle;
        style->setParent(QApplication::instance());
    }
    return style;
}

QGroupBox* ControlFactory::groupBox(QWidget* parent, std::string_view name, QRect rect) {
    return place(new QGroupBox(parent), registry_, name, rect);
}

QLabel* ControlFactory::label(QWidget* parent, std::string_view name, QRect rect) {
    auto* l = place(new QLabel(parent), registry_, name, rect);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLabel* ControlFactory::valueLabel(QWidget* parent, std::string_view name, QRect rect) {
    QLabel* l = label(parent, name, rect);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->setIndent(3);
    return l;
}

void ControlFactory::valueLabelColumn(QWidget* parent, std::span<const std::string_view> names,
                                      QRect firstRow, int rowStep) {
    QRect row = firstRow;
    for (std::string_view name : names) {
        valueLabel(parent, name, row);
        row.translate(0, rowStep);
    }
}

QLabel* ControlFactory::boldLabel(QWidget* parent, std::string_view name, QRect rect) {
    QLabel* l = label(parent, name, rect);
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

QPushButton* ControlFactory::button(QWidget* parent, std::string_view name, QRect rect) {
    return place(new QPushButton(parent), registry_, name, rect);
}

MouseUpCheckBox* ControlFactory::checkBox(QWidget* parent, std::string_view name, QRect rect) {
    return place(new MouseUpCheckBox(parent), registry_, name, rect);
}

RadioGroup* ControlFactory::radioGroup(QWidget* parent, std::string_view name, QRect rect) {
    return place(new RadioGroup(parent), registry_, name, rect);
}

QProgressBar* ControlFactory::gauge(QWidget* parent, std::string_view name, QRect rect,
                                    int maximum) {
    auto* g = place(new QProgressBar(parent), registry_, name, rect);
    g->setRange(0, maximum);
    g->setValue(0);
    g->setTextVisible(false);
    return g;
}

CommitSpinBox* ControlFactory::boundSpinBox(QWidget* parent, std::string_view upDownName,
                                            QRect rect) {
    const editing::Binding& binding = requireBinding(upDownName);
    auto* box = place(new CommitSpinBox(parent, commitOn(binding)), registry_,
                      binding.edit.empty() ? upDownName : binding.edit, rect);
    registry_.add(upDownName, box);
    applyRange(box, binding);
    return box;
}

QStringList ControlFactory::tableEditors() {
    QStringList missing;
    for (const editing::Binding* binding : editing::tableEditorBuildOrder()) {
        const editing::EditorPlacement& at = *binding->placement;
        auto* parent = registry_.find<QWidget>(at.parent);
        if (parent == nullptr) {
            missing << ControlRegistry::toQString(at.parent);
            continue;
        }
        int top = at.top;
        if (!at.topAnchor.empty()) {
            auto* anchor = registry_.find<QWidget>(at.topAnchor);
            if (anchor == nullptr) {
                missing << ControlRegistry::toQString(at.topAnchor);
                continue;
            }
            top += anchor->y();
        }
        const int width = at.spinnerLeft + editing::kSpinnerWidth - at.left;
        auto* box = new CommitSpinBox(parent, commitOn(*binding));
        box->setStyle(compactSpinBoxStyle());
        box->setGeometry(at.left, top, width, editing::kSpinnerHeight + 1);
        registry_.add(binding->edit, binding->element, box);
        registry_.add(binding->control, binding->element, box);
        applyRange(box, *binding);
    }
    missing.removeDuplicates();
    return missing;
}

}  // namespace zelvor::widgets
