#include "editing/widgets/ui_text_applier.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>

#include "editing/widgets/radio_group.h"
#include "i18n/ui_markup.h"

namespace zelvor::widgets {

namespace {

QString qs(std::string_view text) {
    return ControlRegistry::toQString(text);
}

// The tab widget that shows this page, if the widget is a page of one.
QTabWidget* tabWidgetOf(QWidget* page) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    return stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

void setCaption(QObject* object, std::string_view text) {
    if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(qs(text));
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(qs(text));
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setTextFormat(Qt::PlainText);
        label->setText(qs(i18n::stripAccelerators(text)));
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(qs(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(qs(text));
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (QTabWidget* tabs = tabWidgetOf(widget)) {
            tabs->setTabText(tabs->indexOf(widget), qs(text));
        } else {
            widget->setWindowTitle(qs(text));
        }
    }
}

void setHint(QObject* object, std::string_view hint) {
    const i18n::HintParts parts = i18n::splitHint(hint);
    if (auto* action = qobject_cast<QAction*>(object)) {
        action->setToolTip(qs(parts.tooltip));
        action->setStatusTip(qs(parts.statusText));
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->menuAction()->setToolTip(qs(parts.tooltip));
        menu->menuAction()->setStatusTip(qs(parts.statusText));
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setToolTip(qs(parts.tooltip));
        widget->setStatusTip(qs(parts.statusText));
    }
}

// An Items text for an array of run-time labels: entry i is the text of
// label name[i]. False when there is no such array.
bool setArrayItems(const ControlRegistry& registry, std::string_view name, std::string_view items) {
    if (registry.objectIfAny(name, 0) == nullptr) return false;
    int element = 0;
    for (std::string_view item : i18n::splitItems(items)) {
        if (auto* label = registry.find<QLabel>(name, element++)) label->setText(qs(item));
    }
    return true;
}

void setItems(QObject* object, std::string_view items) {
    QStringList list;
    for (std::string_view item : i18n::splitItems(items)) list << qs(item);
    if (auto* group = qobject_cast<RadioGroup*>(object)) group->setItems(list);
}

}  // namespace

std::vector<std::string_view> applyUiTexts(const ControlRegistry& registry,
                                           const std::vector<i18n::UiTextEntry>& entries) {
    std::vector<std::string_view> homeless;
    for (const i18n::UiTextEntry& entry : entries) {
        QObject* object = registry.objectIfAny(entry.control);
        if (object == nullptr) {
            if (entry.property == i18n::UiProperty::Items &&
                setArrayItems(registry, entry.control, entry.text)) {
                continue;
            }
            homeless.push_back(entry.control);
            continue;
        }
        switch (entry.property) {
            case i18n::UiProperty::WindowTitle:
                if (auto* w = qobject_cast<QWidget*>(object)) w->setWindowTitle(qs(entry.text));
                break;
            case i18n::UiProperty::Caption:
                setCaption(object, entry.text);
                break;
            case i18n::UiProperty::Hint:
                setHint(object, entry.text);
                break;
            case i18n::UiProperty::Items:
                setItems(object, entry.text);
                break;
        }
    }
    return homeless;
}

}  // namespace zelvor::widgets
