#include "editing/widgets/map_grid.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

#include "editing/map_grid_layout.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/control_factory.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/mouse_up_check_box.h"
#include "editing/widgets/position_spin_button.h"
#include "editing/widgets/tool_text.h"

namespace zelvor::widgets {

namespace {

namespace layout = editing::grid_layout;

constexpr int kBoxHeight = 22;  // an edit with its spinner
constexpr int kLabelHeight = 15;
constexpr int kCheckBoxHeight = 17;
constexpr int kRowLabelRight = 40;
// The shading toggle stands right of the top row of cells.
constexpr QPoint kShadingTogglePos{
    layout::columnLeft(editing::kMapColumns - 1) + layout::kEditWidth + layout::kSpinnerWidth + 4,
    layout::cellTop(0) + 2};
constexpr int kJet12PixelSize = 19;
constexpr QColor kDisabledText{0x40, 0x40, 0x40};

CommitSpinBox* gridSpinBox(QWidget* parent, QRect rect, const editing::SpinnerRange& range) {
    auto* box = new CommitSpinBox(parent, CommitSpinBox::CommitOn::Click);
    box->setStyle(compactSpinBoxStyle());
    box->setGeometry(rect);
    box->setRange(range.minimum, range.maximum);
    box->setSingleStep(range.step);
    return box;
}

// A spin box that is both an edit and its spinner under two names.
void registerPair(ControlRegistry& registry, const char* edit, const char* upDown, int element,
                  CommitSpinBox* box) {
    registry.add(edit, element, box);
    registry.add(upDown, element, box);
}

QLabel* plainLabel(QWidget* parent, QRect rect) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(rect);
    return label;
}

MouseUpCheckBox* gridCheckBox(QWidget* parent, QRect rect) {
    auto* box = new MouseUpCheckBox(parent);
    box->setFocusPolicy(Qt::ClickFocus);  // no tab stop
    box->setGeometry(rect);
    return box;
}

// Properties are written only when they change: a view update that finds
// nothing new repaints nothing.
void setShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) widget->setVisible(shown);
}

void setEnabledIfChanged(QWidget* widget, bool enabled) {
    if (widget->isEnabledTo(widget->parentWidget()) != enabled) widget->setEnabled(enabled);
}

void setArrowsShown(CommitSpinBox* box, bool shown) {
    const auto symbols = shown ? QAbstractSpinBox::UpDownArrows : QAbstractSpinBox::NoButtons;
    if (box->buttonSymbols() != symbols) box->setButtonSymbols(symbols);
}

}  // namespace

MapGrid::MapGrid(QWidget* page, ControlRegistry& registry, QSize pageSize, int pageControlWidth)
    : QGroupBox(page), pageSize_(pageSize) {
    registry.add("GroupBoxUni", this);
    setGeometry(QRect(QPoint(0, 0), pageSize_));
    keepDisabledTextReadable();
    buildHeader(registry);
    buildCells(registry);
    buildButtons(registry, pageControlWidth);
    buildBottomRow(registry);
}

void MapGrid::keepDisabledTextReadable() {
    // Map 2 coupled to map 1 is disabled, but its numbers are still read at
    // the bench: dark text on the grey of a disabled field instead of the
    // faint grey text that disabling gives.
    QPalette readable = palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText}) {
        readable.setColor(QPalette::Disabled, role, kDisabledText);
    }
    setPalette(readable);
}

void MapGrid::buildHeader(ControlRegistry& registry) {
    registry.add("LabelRpm_Uni", plainLabel(this, QRect(layout::kRpmLabelLeft, layout::kRpmLabelTop,
                                                        30, kLabelHeight)));
    tpsLabel_ =
        plainLabel(this, QRect(layout::kTpsLabelLeft, layout::kTpsLabelTop, 30, kLabelHeight));
    registry.add("LabelTps_Uni", tpsLabel_);
    for (int r = 0; r < editing::kMapRows; ++r) {
        const int left = layout::rowLabelLeft(r);
        QLabel* label = plainLabel(
            this, QRect(left, layout::rowLabelTop(r), kRowLabelRight - left, kLabelHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setText(QString::fromStdString(editing::throttleRowText(r)));
        rowLabels_[r] = label;
        registry.add("LabelTpsRow_Uni", r, label);
    }
    for (int c = 0; c < editing::kMapColumns; ++c) {
        axis_[c] = gridSpinBox(this,
                               QRect(layout::columnLeft(c), layout::kAxisTop,
                                     layout::kEditWidth + layout::kSpinnerWidth, kBoxHeight),
                               editing::kAxisRange);
        registerPair(registry, "EditRpm_Uni", "UpDownRpm_Uni", c, axis_[c]);
    }
}

void MapGrid::buildCells(ControlRegistry& registry) {
    cellGrid_ = new MapCellGrid(this);
    cellGrid_->move(MapCellGrid::cellsOrigin());
    cellGrid_->setObjectName(QStringLiteral("MapCells_Uni"));
    registry.add("MapCells_Uni", cellGrid_);
    for (int k = 0; k < editing::kMapCells; ++k) {
        for (const char* name : {"EditCell_Uni", "UpDownCell_Uni", "LabelMs_Uni"}) {
            registry.add(name, k, cellGrid_);
        }
    }
    shadingToggle_ = cellGrid_->createShadingToggle(this);
    shadingToggle_->move(kShadingTogglePos);
    registry.add("ButtonShading_Uni", shadingToggle_);
    buildGraphToggle(registry);
    setLanguage(i18n::Language::English);
}

void MapGrid::setLanguage(i18n::Language language) {
    shadingToggle_->setToolTip(qToolText(i18n::ToolText::GridShadeHint, language));
    graphToggle_->setToolTip(qToolText(i18n::ToolText::GridGraphHint, language));
}

void MapGrid::buildGraphToggle(ControlRegistry& registry) {
    graphToggle_ = new QToolButton(this);
    graphToggle_->setObjectName(QStringLiteral("ButtonMapGraph_Uni"));
    graphToggle_->setCheckable(true);
    graphToggle_->setFocusPolicy(Qt::NoFocus);  // the focus stays on the cells
    graphToggle_->setFixedSize(18, 18);
    graphToggle_->move(kShadingTogglePos + QPoint(0, 24));
    // A glyph of a curve rising over its axes.
    QPixmap glyph(12, 12);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(Qt::darkGray);
    painter.drawLine(1, 0, 1, 11);
    painter.drawLine(1, 11, 11, 11);
    painter.setPen(QPen(QColor(0x33, 0x66, 0xcc), 1.5));
    painter.drawPolyline(QPolygon({QPoint(2, 9), QPoint(5, 6), QPoint(8, 5), QPoint(11, 1)}));
    painter.end();
    graphToggle_->setIcon(QIcon(glyph));
    registry.add("ButtonMapGraph_Uni", graphToggle_);
    connect(cellGrid_, &MapCellGrid::graphKeyPressed, graphToggle_, &QToolButton::toggle);
}

editing::GridCell MapGrid::cellAddress(int element) {
    return {element / editing::kMapColumns, element % editing::kMapColumns};
}

void MapGrid::showCells(editing::MapId map, const model::ParameterImage& image) {
    cellGrid_->showMap(map, image);
}

void MapGrid::buildButtons(ControlRegistry& registry, int pageControlWidth) {
    for (int c = 0; c < editing::kMapColumns; ++c) {
        auto* button = new TwoArrowSpinButton(this);
        button->setGeometry(layout::columnButtonLeft(c), layout::kColumnButtonTop,
                            layout::kColumnButtonWidth, layout::kColumnButtonHeight);
        connect(button, &TwoArrowSpinButton::up, this, [this, c] { emit columnStepped(c, +1); });
        connect(button, &TwoArrowSpinButton::down, this, [this, c] { emit columnStepped(c, -1); });
        columnButtons_[c] = button;
        registry.add("CSpinButtonCol_Uni", c, button);
    }
    const int toolsLeft = layout::toolsButtonLeft(pageControlWidth);
    tools_ = new TwoArrowSpinButton(this);
    tools_->setGeometry(toolsLeft, layout::kToolsButtonTop, layout::kToolsButtonWidth,
                        layout::kToolsButtonHeight);
    connect(tools_, &TwoArrowSpinButton::up, this, [this] { emit toolsStepped(+1); });
    connect(tools_, &TwoArrowSpinButton::down, this, [this] { emit toolsStepped(-1); });
    registry.add("CSpinButtonTools_Uni", tools_);
    allBox_ = gridCheckBox(this, QRect(toolsLeft + layout::kAllBoxOffsetLeft, layout::kAllBoxTop,
                                       layout::kAllBoxWidth + 10, kCheckBoxHeight));
    registry.add("CheckBoxAll_Uni", allBox_);
}

void MapGrid::buildBottomRow(ControlRegistry& registry) {
    tpsBox_ = gridCheckBox(this, QRect(layout::kTpsBoxLeft, layout::kAllBoxTop,
                                       layout::kTpsBoxWidth, kCheckBoxHeight));
    registry.add("CheckBoxTps_Uni", tpsBox_);
    connect(tpsBox_, &MouseUpCheckBox::mouseReleased, this, &MapGrid::gridBoxReleased);

    const int extraWidth = layout::kExtraEditWidth + layout::kSpinnerWidth;
    baseAdvance_ = gridSpinBox(
        this, QRect(layout::kBaseAdvanceEditLeft, layout::kExtrasTop, extraWidth, kBoxHeight),
        editing::kBaseAdvanceRange);
    registerPair(registry, "EditBaseAdv_Uni", "UpDownBaseAdv_Uni", -1, baseAdvance_);
    cylinder1_ = gridSpinBox(
        this, QRect(layout::kCylinder1EditLeft, layout::kExtrasTop, extraWidth, kBoxHeight),
        editing::kCylinderRange);
    registerPair(registry, "EditCylKor1_Uni", "UpDownCylKor1_Uni", -1, cylinder1_);
    cylinder2_ = gridSpinBox(
        this, QRect(layout::kCylinder2EditLeft, layout::kExtrasTop, extraWidth, kBoxHeight),
        editing::kCylinderRange);
    registerPair(registry, "EditCylKor2_Uni", "UpDownCylKor2_Uni", -1, cylinder2_);
    baseAdvanceLabel_ = plainLabel(
        this, QRect(layout::kBaseAdvanceLabelLeft, layout::kExtrasLabelTop,
                    layout::kCylinder1EditLeft - layout::kBaseAdvanceLabelLeft - 6, kLabelHeight));
    registry.add("LabelBaseAdv_Uni", baseAdvanceLabel_);
    cylinderLabel_ = plainLabel(
        this, QRect(layout::kCylinderLabelLeft, layout::kExtrasLabelTop, 220, kLabelHeight));
    registry.add("LabelCylKor_Uni", cylinderLabel_);

    jet12Label_ = plainLabel(this, QRect(layout::kJet12Left, layout::kJet12Top, 10, 24));
    QFont big = jet12Label_->font();
    big.setPixelSize(kJet12PixelSize);
    jet12Label_->setFont(big);
    jet12Label_->hide();
    registry.add("LabelJet12_Uni", jet12Label_);

    bevel_ = new QFrame(this);
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);
    bevel_->setGeometry(layout::kBevelLeft, layout::kBevelTop - 1, layout::kBevelWidth, 2);
    registry.add("BevelUni", bevel_);

    msBox_ = gridCheckBox(
        this, QRect(layout::kMsBoxLeft, layout::kAllBoxTop, layout::kMsBoxWidth, kCheckBoxHeight));
    registry.add("CheckBoxZobrMs_Uni", msBox_);
    connect(msBox_, &MouseUpCheckBox::mouseReleased, this, &MapGrid::gridBoxReleased);
}

void MapGrid::moveToPage(QWidget* page) {
    if (page == nullptr || parentWidget() == page) return;
    const bool shown = !isHidden();
    setParent(page);
    setGeometry(QRect(QPoint(0, 0), pageSize_));
    if (shown) show();
}

editing::MapGridValues MapGrid::values() {
    editing::MapGridValues values;
    for (std::size_t c = 0; c < axis_.size(); ++c) values.axis[c] = axis_[c]->takeValue();
    // The cells reach the image through their own edits: a collect gives
    // them back as shown, and so takes none of them.
    values.cells = cellGrid_->content().cells;
    values.useTps = tpsBox_->isChecked();
    values.extras = editing::AdvanceExtras{.baseAdvance = baseAdvance_->takeValue(),
                                           .cylinder1 = cylinder1_->takeValue(),
                                           .cylinder2 = cylinder2_->takeValue()};
    values.all = allBox_->isChecked();
    return values;
}

void MapGrid::fill(const editing::MapGridValues& values) {
    for (std::size_t c = 0; c < axis_.size(); ++c) axis_[c]->showPosition(values.axis[c]);
    if (tpsBox_->isChecked() != values.useTps) tpsBox_->setChecked(values.useTps);
    if (values.extras) {
        baseAdvance_->showPosition(values.extras->baseAdvance);
        cylinder1_->showPosition(values.extras->cylinder1);
        cylinder2_->showPosition(values.extras->cylinder2);
    }
    if (allBox_->isChecked() != values.all) allBox_->setChecked(values.all);
}

void MapGrid::apply(const editing::MapGridView& view) {
    setEnabledIfChanged(this, view.gridEnabled);
    applyRows(view);
    setShown(tpsLabel_, view.throttleLabelsVisible);
    setLabelText(tpsLabel_, QString::fromLatin1(editing::kThrottleLabelText));
    for (int r = 0; r < editing::kMapRows; ++r) {
        setShown(rowLabels_[r], view.throttleLabelsVisible);
        setLabelText(rowLabels_[r], QString::fromStdString(editing::throttleRowText(r)));
    }
    for (int c = 0; c < editing::kMapColumns; ++c) {
        setShown(columnButtons_[c], view.columnButtonsVisible);
        setArrowsShown(axis_[c], view.axisSpinnersVisible);
        setEnabledIfChanged(axis_[c], view.axisEditsEnabled);
    }
    setShown(tools_, view.toolsVisible);
    setShown(allBox_, view.toolsVisible);
    applyBottomRow(view);
}

void MapGrid::applyRows(const editing::MapGridView& view) {
    cellGrid_->setSingleRow(view.singleRow);
    cellGrid_->setMsDisplay(view.msDisplay);
}

void MapGrid::applyBottomRow(const editing::MapGridView& view) {
    if (jet12Label_->text() != QString::fromLatin1(view.jet12Text.c_str())) {
        jet12Label_->setText(QString::fromLatin1(view.jet12Text.c_str()));
        jet12Label_->adjustSize();
    }
    setBackground(jet12Label_, view.jet12Colour);
    setShown(tpsBox_, view.tpsBoxVisible);
    if (!view.page) return;
    setShown(msBox_, view.page->msBoxVisible);
    setShown(jet12Label_, view.page->jet12Visible);
    for (QWidget* extra :
         {static_cast<QWidget*>(baseAdvance_), static_cast<QWidget*>(cylinder1_),
          static_cast<QWidget*>(cylinder2_), static_cast<QWidget*>(baseAdvanceLabel_),
          static_cast<QWidget*>(cylinderLabel_)}) {
        setShown(extra, view.page->extrasVisible);
    }
}

}  // namespace zelvor::widgets
