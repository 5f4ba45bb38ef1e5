#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace zelvor::app {

// Keeps some of the window's shortcuts with the window whatever control has
// the focus. Number fields and the memo would take Ctrl+Z for their own text
// undo; the tuner means the window's undo there, as everywhere else, and also
// when the window's undo has nothing left (the key then does nothing).
class WindowShortcuts : public QObject {
  public:
    struct Shortcut {
        QKeySequence keys;
        std::function<void()> run;
    };

    WindowShortcuts(QWidget* window, std::vector<Shortcut> shortcuts);
    ~WindowShortcuts() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const Shortcut* find(const QEvent* event) const;

    QPointer<QWidget> window_;
    std::vector<Shortcut> shortcuts_;
};

}  // namespace zelvor::app
