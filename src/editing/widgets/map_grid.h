#pragma once

#include <QGroupBox>
#include <array>

#include "editing/map_content.h"
#include "editing/map_grid_model.h"
#include "editing/map_grid_view.h"
#include "editing/widgets/control_registry.h"
#include "i18n/language.h"

class QFrame;
class QLabel;
class QToolButton;

namespace zelvor::widgets {

class CommitSpinBox;
class MapCellGrid;
class MouseUpCheckBox;
class TwoArrowSpinButton;

// The one grid that edits the three maps (GroupBoxUni): speed axis, 10 x 15
// cells with their ms labels, column and tools buttons, the "All", "TPS" and
// "Ms" boxes and the Advance-page extras. It is built once and moved onto
// whichever map page is shown; every control is registered by its name
// (arrays as name[index]; an edit and its spinner are one widget under both
// names). The grid edits commit when clicked into, on Enter and on their
// arrows, never when left.
// The 150 cells are one painted widget (MapCellGrid); the names of a cell's
// edit, spinner and ms label ("EditCell_Uni[17]") lead to that widget, and
// cellAddress() turns the index into the cell.

class MapGrid : public QGroupBox {
    Q_OBJECT
  public:
    // Builds the grid on page, filling a page of pageSize; the tools button
    // stands at the right of a page control pageControlWidth wide.
    MapGrid(QWidget* page, ControlRegistry& registry, QSize pageSize, int pageControlWidth);

    // Puts the grid onto page (keeping it shown or hidden as it was).
    void moveToPage(QWidget* page);

    // The positions and box states (collect); typed text is taken first.
    editing::MapGridValues values();
    // Shows the positions of the axis, extras and boxes (refresh); text typed
    // and not taken is dropped. Extras are written only when given. The
    // cells are shown by showCells.
    void fill(const editing::MapGridValues& values);
    // Visibility, enabling, texts, colours and positions of the view update.
    void apply(const editing::MapGridView& view);
    // The cells of map as the image holds them (part of a refresh).
    void showCells(editing::MapId map, const model::ParameterImage& image);
    MapCellGrid* cells() const { return cellGrid_; }
    // The check button in the grid's corner (and the G key on the cells)
    // that shows the map as a graph; its owner shows the graph.
    QToolButton* graphToggle() const { return graphToggle_; }
    // The tooltips of the corner buttons in the language.
    void setLanguage(i18n::Language language);

    // The cell of a registered cell index (row * 15 + column).
    static editing::GridCell cellAddress(int element);

  signals:
    // A column button (column 0..14) or the tools button: +1 up, -1 down.
    void columnStepped(int column, int direction);
    void toolsStepped(int direction);
    // The mouse released on the "TPS" or the "Ms" box.
    void gridBoxReleased();

  private:
    void keepDisabledTextReadable();
    void buildHeader(ControlRegistry& registry);
    void buildCells(ControlRegistry& registry);
    void buildGraphToggle(ControlRegistry& registry);
    void buildButtons(ControlRegistry& registry, int pageControlWidth);
    void buildBottomRow(ControlRegistry& registry);
    void applyRows(const editing::MapGridView& view);
    void applyBottomRow(const editing::MapGridView& view);

    QLabel* tpsLabel_ = nullptr;
    std::array<QLabel*, editing::kMapRows> rowLabels_{};
    std::array<CommitSpinBox*, editing::kMapColumns> axis_{};
    MapCellGrid* cellGrid_ = nullptr;
    QToolButton* graphToggle_ = nullptr;
    QToolButton* shadingToggle_ = nullptr;
    std::array<TwoArrowSpinButton*, editing::kMapColumns> columnButtons_{};
    TwoArrowSpinButton* tools_ = nullptr;
    MouseUpCheckBox* allBox_ = nullptr;
    MouseUpCheckBox* tpsBox_ = nullptr;
    MouseUpCheckBox* msBox_ = nullptr;
    QLabel* jet12Label_ = nullptr;
    CommitSpinBox* baseAdvance_ = nullptr;
    CommitSpinBox* cylinder1_ = nullptr;
    CommitSpinBox* cylinder2_ = nullptr;
    QLabel* baseAdvanceLabel_ = nullptr;
    QLabel* cylinderLabel_ = nullptr;
    QFrame* bevel_ = nullptr;
    QSize pageSize_;
};

}  // namespace zelvor::widgets
