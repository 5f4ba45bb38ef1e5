#pragma once

#include <QHash>
#include <QPixmap>
#include <QStaticText>
#include <QWidget>
#include <array>
#include <optional>

#include "editing/map_content.h"
#include "editing/map_operations.h"
#include "editing/map_selection.h"
#include "editing/map_tools.h"
#include "editing/widgets/cell_overlay.h"
#include "model/parameter_image.h"

class QLineEdit;
class QToolButton;

namespace zelvor::widgets {

// The 150 cells of a map as one widget. Each cell is painted where the grid
// has always had it: a 40 px number field with a 16 px spinner at its right
// edge (the spinner's halves step the cell). The widget's top left is the top
// left of cell (0, 0); place it at cellsOrigin() in the grid's group box.
//
// The user works on a current cell and a selection (a block): mouse drag,
// Shift+click, Shift+arrows and Ctrl+A select; arrows move the current cell.
// A digit opens an edit of the current cell (Enter takes it, Escape drops
// it; "+" or "-" after a whole number steps the selection that many times).
// Keys run the block operations: "=" value and "*" percent (typed into a
// small input beside the selection), "/" bilinear, "H" rows, "V" columns,
// "S" smooth; F4/F5 step a selection of more than one cell; "G" asks for the
// graph of the map. Ctrl+C copies the
// selection (the whole map with its axes), Ctrl+V pastes.
//
// The widget never writes the image: every change leaves as one edited()
// signal carrying all cells (and a pasted axis), so the owner writes it and
// runs its change pipeline once. It shows whatever map it is given next.
class MapCellGrid : public QWidget {
    Q_OBJECT
  public:
    explicit MapCellGrid(QWidget* parent = nullptr);

    // Where the widget stands in the grid's group box.
    static QPoint cellsOrigin();

    // Shows map from image (a refresh): the content as the grid shows it,
    // whether the map accepts edits (map 2 while coupled or equal does not).
    // A cell edit or operation input still open is dropped, as a refresh
    // drops typed text. The selection and the current cell stay.
    void showMap(editing::MapId map, const model::ParameterImage& image);
    editing::MapId map() const { return map_; }
    const editing::MapContent& content() const { return content_; }
    bool acceptsEdits() const { return acceptsEdits_; }

    // Injection maps: the cells show the stored times in ms ("%5.3f ") and
    // copy and paste times; they are stepped and operated on in percent.
    void setMsDisplay(bool ms);
    bool msDisplay() const { return msDisplay_; }
    // Advance map without throttle: only the 100 % row, drawn in the top
    // row's place.
    void setSingleRow(bool single);
    bool singleRow() const { return singleRow_; }

    // The cell the engine runs at, lit whatever else is drawn on it; none
    // while the engine stands. Only the old and the new cell are repainted.
    void setLiveCell(std::optional<editing::GridCell> cell);
    std::optional<editing::GridCell> liveCell() const { return live_; }

    bool shading() const { return shading_; }
    // A small check button that switches the shading by value, kept in step
    // with the grid; the owner places it (in the grid's corner).
    QToolButton* createShadingToggle(QWidget* parent);

    editing::GridCell currentCell() const { return current_; }
    editing::MapSelection selection() const { return selection_; }

    // Takes a typed value still open in a cell edit (what a collect does
    // before saving or programming). Returns whether there was one.
    bool commitPendingEdit();
    // The same typed value as an edit for the caller to write, without
    // edited(); nothing when no edit is open or it changes nothing.
    std::optional<editing::MapEdit> takePendingEdit();

    // The spinners are drawn and stepped unless a printout hides them.
    void setSpinnersShown(bool shown);
    bool spinnersShown() const { return spinnersShown_; }

    // Geometry of a cell in widget coordinates (where it is drawn).
    QRect editRect(editing::GridCell cell) const;
    QRect spinnerRect(editing::GridCell cell) const;
    QRect cellRect(editing::GridCell cell) const;
    // The cell at a point, if any (the 6 px gaps between cells belong to
    // none).
    std::optional<editing::GridCell> cellAt(QPoint point) const;

    // The text a cell shows: its value, or its time in ms display.
    QString cellText(editing::GridCell cell) const;

    // Shows an overlay over the cells (nullptr removes it). The grid does
    // not own it; call overlayChanged() when what it says has changed.
    void setOverlay(OverlayRole role, const CellOverlay* overlay);
    const CellOverlay* overlay(OverlayRole role) const {
        return overlays_[static_cast<std::size_t>(role)];
    }
    void overlayChanged() { update(); }
    // What the overlays say of a cell, as its tooltip shows it (empty when
    // nothing).
    QString overlayToolTip(editing::GridCell cell) const;

    QSize sizeHint() const override;

  public slots:
    void setShading(bool on);

  signals:
    // One change of the map: every cell as it is to be (and the axis when a
    // whole map was pasted). Emitted only when something differs.
    void edited(const editing::MapEdit& edit);
    // Pasted text that does not fit; nothing was changed.
    void pasteRefused(const QString& message);
    void selectionChanged();
    void shadingChanged(bool on);
    // A map, or the way it is shown (ms display, single row), was shown.
    void mapShown();
    void liveCellChanged();
    // G was pressed: the owner shows or hides the graph of the map.
    void graphKeyPressed();

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Pending { None, CellEdit, Operand };

    void setCurrent(editing::GridCell cell, bool extend);
    void setSelection(editing::MapSelection selection);
    void moveCurrent(int rows, int columns, bool extend);
    bool isVisibleRow(int row) const;
    int rowTop(int row) const;

    void openCellEdit(const QString& firstText);
    void openOperandInput(editing::MapOperation operation, const QString& prompt);
    void closeInput();
    bool handleInputKey(QKeyEvent* key);
    bool takeOperand();

    void runOperation(editing::MapOperation operation, double operand);
    void stepCell(editing::GridCell cell, int direction);
    void emitCells(const editing::MapCells& cells);
    void copySelection() const;
    void paste();

    void paintCell(QPainter& painter, editing::GridCell cell) const;
    // Tints the fill and draws the frames the overlays give the cell.
    QColor overlayFill(editing::GridCell cell, QColor fill) const;
    void paintOverlayFrames(QPainter& painter, editing::GridCell cell, QRect edit) const;
    const QStaticText& cellTextLayout(editing::GridCell cell) const;
    const QPixmap& spinnerPixmap() const;

    editing::MapId map_ = editing::MapId::Advance;
    model::ParameterImage image_;
    editing::MapContent content_;
    bool acceptsEdits_ = true;
    bool msDisplay_ = false;
    bool singleRow_ = false;
    bool shading_ = false;
    bool spinnersShown_ = true;
    int lowest_ = 0;  // the range the shading spreads over
    int highest_ = 0;

    std::optional<editing::GridCell> live_;
    std::array<const CellOverlay*, kOverlayRoles> overlays_{};
    editing::GridCell current_{};
    editing::GridCell anchor_{};
    editing::MapSelection selection_ = editing::MapSelection::single({});
    bool dragging_ = false;

    Pending pending_ = Pending::None;
    editing::MapOperation operandOperation_ = editing::MapOperation::Set;
    editing::GridCell editCell_{};  // the cell an open cell edit belongs to
    QLineEdit* input_ = nullptr;

    // Laid-out numbers by their text and the drawn spinner, kept between
    // paints so that a repaint only copies them; the numbers are laid out
    // again when the font changes.
    static constexpr qsizetype kMaxLaidOutTexts = 4096;
    mutable QHash<QString, QStaticText> texts_;
    mutable bool textsValid_ = false;
    mutable QPixmap spinner_;
};

}  // namespace zelvor::widgets
