#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

namespace zelvor::widgets {

// A titled group of radio buttons whose selection is an item index. Setting
// the items keeps the selected index; an index the group does not have
// leaves nothing selected.
class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    explicit RadioGroup(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    QStringList items() const;
    int itemIndex() const;
    void setItemIndex(int index);
    // Without a tab stop the buttons are reached by the mouse only, never by
    // Tab; buttons made later by setItems follow.
    void setTabStop(bool tabStop);

  signals:
    // The user picked an item (mouse or keyboard), after the selection moved.
    void itemClicked(int index);

  private:
    void applyTabStop(QAbstractButton* button) const;

    QButtonGroup* buttons_;
    bool tabStop_ = true;
};

}  // namespace zelvor::widgets
