#include "app/window_shortcuts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace zelvor::app {

WindowShortcuts::WindowShortcuts(QWidget* window, std::vector<Shortcut> shortcuts)
    : QObject(window), window_(window), shortcuts_(std::move(shortcuts)) {
    qApp->installEventFilter(this);
}

WindowShortcuts::~WindowShortcuts() {
    if (qApp != nullptr) qApp->removeEventFilter(this);
}

const WindowShortcuts::Shortcut* WindowShortcuts::find(const QEvent* event) const {
    const QKeySequence pressed(static_cast<const QKeyEvent*>(event)->keyCombination());
    for (const Shortcut& shortcut : shortcuts_) {
        if (shortcut.keys == pressed) return &shortcut;
    }
    return nullptr;
}

bool WindowShortcuts::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    // Only the window's own controls: a file dialog's name field keeps its
    // text undo.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr || window_ == nullptr || widget->window() != window_) return false;
    const Shortcut* shortcut = find(event);
    if (shortcut == nullptr) return false;
    if (type == QEvent::ShortcutOverride) {
        // Taken as a key press, which arrives here next.
        event->accept();
        return true;
    }
    shortcut->run();
    return true;
}

}  // namespace zelvor::app
