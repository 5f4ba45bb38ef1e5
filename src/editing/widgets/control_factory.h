#pragma once

#include <QRect>
#include <QStringList>
#include <span>
#include <string_view>

#include "editing/widgets/control_registry.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStyle;
class QWidget;

namespace zelvor::widgets {

class CommitSpinBox;
class MouseUpCheckBox;
class RadioGroup;

// The style of spin boxes that stand in narrow table columns: arrows
// kCompactArrowWidth px wide, the edit field takes the rest. One instance
// for the application.
inline constexpr int kCompactArrowWidth = 9;
QStyle* compactSpinBoxStyle();

// Builders for the controls of the pages. Each one creates the widget at its
// pixel rectangle inside the parent, names it and registers it, so texts,
// bindings, colours and handlers all find it by name. Captions come later
// from the text tables.
class ControlFactory {
  public:
    explicit ControlFactory(ControlRegistry& registry) : registry_(registry) {}

    QGroupBox* groupBox(QWidget* parent, std::string_view name, QRect rect);
    QLabel* label(QWidget* parent, std::string_view name, QRect rect);
    // A label that shows live values: sunken frame, filled background.
    QLabel* valueLabel(QWidget* parent, std::string_view name, QRect rect);
    // Value labels one under the other: the first at firstRow, each next one
    // rowStep pixels lower.
    void valueLabelColumn(QWidget* parent, std::span<const std::string_view> names, QRect firstRow,
                          int rowStep);
    // A label in the bold face of its font.
    QLabel* boldLabel(QWidget* parent, std::string_view name, QRect rect);
    QPushButton* button(QWidget* parent, std::string_view name, QRect rect);
    MouseUpCheckBox* checkBox(QWidget* parent, std::string_view name, QRect rect);
    RadioGroup* radioGroup(QWidget* parent, std::string_view name, QRect rect);
    QProgressBar* gauge(QWidget* parent, std::string_view name, QRect rect, int maximum = 100);

    // A design-time edit with its spinner, bound by the spinner's name
    // ("UpDownFan1"): range, step and start position come from its binding.
    // rect covers edit and arrows. It commits as its binding says (when the
    // user leaves it).
    CommitSpinBox* boundSpinBox(QWidget* parent, std::string_view upDownName, QRect rect);

    // The run-time table editors, built from their bindings into their group
    // boxes (which must be registered already, with any anchor labels), in
    // build order. They commit as their bindings say (when the user clicks
    // into them). Returns the
    // names of group boxes or anchor labels that were missing (their editors
    // are not built).
    QStringList tableEditors();

    ControlRegistry& registry() { return registry_; }

  private:
    ControlRegistry& registry_;
};

}  // namespace zelvor::widgets
