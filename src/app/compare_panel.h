#pragma once

#include <QDockWidget>
#include <QHash>
#include <functional>
#include <optional>
#include <vector>

#include "compare/image_compare.h"
#include "editing/widgets/tool_text.h"
#include "model/parameter_image.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelvor::app {

// The side panel of a comparison: every element in which the edited image
// differs from a reference, grouped by the page that shows it, with both
// values. A row, a page or everything can take the reference's value; the
// panel only asks for it (takeRequested), the window writes the image and
// runs its change pipeline once per request.
class ComparePanel : public QDockWidget {
    Q_OBJECT
  public:
    // pageCaption names a page by its index (the tab's text).
    ComparePanel(QWidget* parent, std::function<QString(int page)> pageCaption);

    // Compares the edited image with this reference from now on; the
    // reference is brought into range first.
    void setReference(const model::ParameterImage& reference, const QString& name);
    const std::optional<model::ParameterImage>& reference() const { return reference_; }
    QString referenceName() const { return name_; }
    // A new name for the same reference (the unit's name in another language).
    void renameReference(const QString& name);

    // Shows every text in the language; the rows keep their place and choice.
    void setLanguage(i18n::Language language);

    // Compares again after the edited image changed; the list is built anew
    // only when the differences did.
    void follow(const model::ParameterImage& edited);
    const std::vector<compare::Difference>& differences() const { return differences_; }

    QTreeWidget* list() const { return list_; }
    QPushButton* takeButton() const { return take_; }
    QPushButton* takeAllButton() const { return takeAll_; }
    QPushButton* closeButton() const { return close_; }

    // The rows of the item: itself for a row, every row below a page, none
    // for no item.
    std::vector<compare::Difference> rowsOf(const QTreeWidgetItem* item) const;

  signals:
    void takeRequested(const std::vector<compare::Difference>& rows);
    // The panel was closed (Close, Escape or its title bar).
    void ended();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Brings the list in line with the differences: rows that stay keep
    // their items (only changed texts are set), new rows are inserted in
    // place and rows gone are removed, so an edit costs little however long
    // the list is.
    void updateList();
    void widenColumn(int column, const QString& text);
    void takeCurrent();
    void showCount();
    void showTexts();

    std::function<QString(int)> pageCaption_;
    widgets::ToolLanguage said_;
    std::optional<model::ParameterImage> reference_;
    QString name_;
    std::vector<compare::Difference> differences_;
    // The items of the list by element and by page.
    QHash<int, QTreeWidgetItem*> rowItems_;
    QHash<int, QTreeWidgetItem*> pageItems_;

    QLabel* title_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* take_ = nullptr;
    QPushButton* takeAll_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zelvor::app
