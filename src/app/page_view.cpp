#include "app/page_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "editing/code_page.h"
#include "editing/map_content.h"
#include "editing/map_grid_view.h"
#include "editing/page_binder.h"
#include "editing/page_index.h"
#include "editing/view_rules.h"
#include "editing/widgets/bike_memo.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/map_grid.h"
#include "link/unit_identification.h"
#include "model/injection.h"

namespace zelvor::app {

namespace {

void applyViewSetting(QObject* object, const editing::ViewSetting& setting) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return;
    switch (setting.property) {
        case editing::ViewProperty::Visible:
            if (widget->isVisibleTo(widget->parentWidget()) != setting.value) {
                widget->setVisible(setting.value);
            }
            break;
        case editing::ViewProperty::Enabled:
            widget->setEnabled(setting.value);
            break;
        case editing::ViewProperty::Checked:
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                button->setChecked(setting.value);
            }
            break;
        case editing::ViewProperty::VerticalScrollBar:
            if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
                memo->setVerticalScrollBarPolicy(setting.value ? Qt::ScrollBarAlwaysOn
                                                               : Qt::ScrollBarAlwaysOff);
            }
            break;
    }
}

}  // namespace

PageView::PageView(model::ParameterImage& image, model::InjectionScaling& scaling,
                   editing::WindowState& window, const widgets::ControlRegistry& registry,
                   QTabWidget* pages, Hooks hooks)
    : image_(image),
      scaling_(scaling),
      window_(window),
      registry_(registry),
      access_(registry),
      pages_(pages),
      grid_(registry.find<widgets::MapGrid>("GroupBoxUni")),
      hooks_(std::move(hooks)) {}

void PageView::collect() {
    if (editing::isMapPage(currentPage())) {
        if (grid_ != nullptr) {
            // A value typed into a cell and not yet taken counts first.
            const std::optional<editing::MapId> map = editing::mapOfPage(currentPage());
            if (auto edit = grid_->cells()->takePendingEdit(); edit && map) {
                editing::writeMapEdit(*map, *edit, image_, scaling_);
            }
            editing::collectMapPage(currentPage(), grid_->values(), image_, scaling_,
                                    window_.allFlags, &shownGrid_);
        }
        return;
    }
    editing::collectPage(currentPage(), access_, image_, window_.memoCodePage, &shown_);
}

void PageView::refresh() {
    if (editing::isMapPage(currentPage())) {
        refreshMapPage();
        return;
    }
    if (currentPage() == editing::kPageBike) refreshBikeExtras();
    shown_.clear();
    const editing::RefreshResult result =
        editing::refreshPage(currentPage(), access_, image_, window_.memoCodePage, &shown_);
    if (result.unknownBike && hooks_.unknownBike) hooks_.unknownBike();
    viewUpdate();
}

void PageView::refreshBikeExtras() {
    // The memo checks what is typed against the code page it is shown in.
    if (auto* memo = registry_.find<widgets::MemoEdit>("Memo1")) {
        memo->setCodePage(window_.memoCodePage);
    }
    if (hooks_.identification) {
        const link::UnitIdentification& id = hooks_.identification();
        const std::string& bytes = id.identificationBytes;
        const std::string shown = editing::decodeForDisplay(
            {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
            window_.memoCodePage);
        widgets::setLabelText(registry_.find<QWidget>("LabelVerze1"),
                              QString::fromStdString(shown));
        widgets::setLabelText(registry_.find<QWidget>("LabelVerze2"),
                              QString::fromStdString(id.date));
        widgets::setLabelText(registry_.find<QWidget>("LabelVerze3"),
                              QString::fromStdString(id.time));
    }
    if (auto* program = registry_.find<QAbstractButton>("CheckBoxProgHned")) {
        widgets::setBackground(program, window_.programAfterChange ? editing::Colour::Red
                                                                   : editing::Colour::ButtonFace);
    }
}

void PageView::refreshMapPage() {
    if (grid_ == nullptr) {
        viewUpdate();
        return;
    }
    grid_->moveToPage(pages_->widget(currentPage()));
    // The cells are one widget: however many change, it is painted once,
    // and only what changed around it is painted again.
    grid_->fill(editing::refreshMapPage(currentPage(), image_, scaling_, window_.allFlags));
    if (const auto map = editing::mapOfPage(currentPage())) grid_->showCells(*map, image_);
    shownGrid_ = grid_->values();
    viewUpdate();
}

void PageView::viewUpdate() {
    const editing::MapGridView view =
        editing::mapGridView(currentPage(), image_, window_.msDisplay);
    if (auto* a = registry_.find<QAction>("Menu_Jet123Normal")) a->setChecked(view.separateChecked);
    if (auto* a = registry_.find<QAction>("Menu_Jet123Coupled")) a->setChecked(view.coupledChecked);
    if (auto* a = registry_.find<QAction>("Menu_Jet123Stejny")) a->setChecked(view.sameChecked);
    if (!view.jet2TabVisible && currentPage() == editing::kPageJet2A) {
        // Map 2 has no tab while it equals map 1 (an image with "1 = 2"
        // arrived while map 2 was shown): map 1 is shown in its place.
        showPageQuietly(editing::kPageJet1A);
        {
            const QSignalBlocker quiet(pages_);
            pages_->setTabVisible(editing::kPageJet2A, false);
        }
        refresh();
        return;
    }
    if (pages_->isTabVisible(editing::kPageJet2A) != view.jet2TabVisible) {
        pages_->setTabVisible(editing::kPageJet2A, view.jet2TabVisible);
    }

    int memoLines = 0;
    if (auto* memo = registry_.find<QPlainTextEdit>("Memo1")) memoLines = memo->blockCount();
    for (const editing::ViewSetting& setting : editing::applyPageViewRules(image_, memoLines)) {
        applyViewSetting(registry_.object(setting.control, setting.element), setting);
    }
    if (auto* display = registry_.find<QAbstractButton>("CheckBoxTempDisplay")) {
        display->setChecked(false);
    }
    if (grid_ != nullptr) grid_->apply(view);
}

void PageView::enterPage(int page) {
    if (grid_ != nullptr) grid_->hide();
    window_.currentPage = page;
    refresh();
    if (grid_ != nullptr) grid_->show();
}

void PageView::showPage(int page) {
    ++switching_;
    if (pages_->currentIndex() != page) {
        pages_->setCurrentIndex(page);  // the page-change step enters it
    } else {
        enterPage(page);
    }
    --switching_;
}

void PageView::showPageQuietly(int page) {
    ++switching_;
    {
        const QSignalBlocker quiet(pages_);
        pages_->setCurrentIndex(page);
    }
    window_.currentPage = page;
    --switching_;
}

bool PageView::ownsControl(const QObject* control) const {
    const auto* widget = qobject_cast<const QWidget*>(control);
    if (widget == nullptr) return true;
    const QWidget* page = pages_->widget(currentPage());
    return page != nullptr && page->isAncestorOf(widget);
}

void PageView::refreshWithGridHidden() {
    if (grid_ != nullptr) grid_->hide();
    refresh();
    if (grid_ != nullptr) grid_->show();
}

}  // namespace zelvor::app
