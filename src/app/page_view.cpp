#include "app/page_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "editing/code_page.h"
#include "editing/page_binder.h"
#include "editing/page_index.h"
#include "editing/view_rules.h"
#include "editing/widgets/colours.h"
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

PageView::PageView(model::ParameterImage& image, const widgets::ControlRegistry& registry,
                   QTabWidget* pages, Hooks hooks)
    : image_(image),
      registry_(registry),
      access_(registry),
      pages_(pages),
      hooks_(std::move(hooks)) {}

void PageView::collect() {
    currentPage_ = pages_->currentIndex();
    editing::collectPage(currentPage_, access_, image_,
                         editing::memoCodePage(hooks_.language ? hooks_.language() : 0));
}

void PageView::refresh() {
    currentPage_ = pages_->currentIndex();
    if (currentPage_ == editing::kPageBike) refreshBikeExtras();
    const editing::RefreshResult result =
        editing::refreshPage(currentPage_, access_, image_,
                             editing::memoCodePage(hooks_.language ? hooks_.language() : 0));
    if (result.unknownBike && hooks_.unknownBike) hooks_.unknownBike();
    viewUpdate();
}

void PageView::refreshBikeExtras() {
    if (hooks_.identification) {
        const link::UnitIdentification& id = hooks_.identification();
        widgets::setLabelText(registry_.find<QWidget>("LabelVerze1"),
                              QString::fromStdString(id.identification));
        widgets::setLabelText(registry_.find<QWidget>("LabelVerze2"),
                              QString::fromStdString(id.date));
        widgets::setLabelText(registry_.find<QWidget>("LabelVerze3"),
                              QString::fromStdString(id.time));
    }
    if (auto* program = registry_.find<QAbstractButton>("CheckBoxProgHned")) {
        widgets::setBackground(program,
                               program->isChecked() ? link::Colour::Red : link::Colour::ButtonFace);
    }
}

void PageView::viewUpdate() {
    const bool coupled = model::isCoupled(image_);
    const bool same = model::isSame(image_);
    if (auto* a = registry_.find<QAction>("Menu_Jet123Normal")) a->setChecked(!coupled && !same);
    if (auto* a = registry_.find<QAction>("Menu_Jet123Coupled")) a->setChecked(coupled);
    if (auto* a = registry_.find<QAction>("Menu_Jet123Stejny")) a->setChecked(same);
    pages_->setTabVisible(editing::kPageJet2A, !same);

    int memoLines = 0;
    if (auto* memo = registry_.find<QPlainTextEdit>("Memo1")) memoLines = memo->blockCount();
    for (const editing::ViewSetting& setting : editing::applyPageViewRules(image_, memoLines)) {
        applyViewSetting(registry_.object(setting.control, setting.element), setting);
    }
    if (auto* display = registry_.find<QAbstractButton>("CheckBoxTempDisplay")) {
        display->setChecked(false);
    }
}

void PageView::enterPage(int page) {
    currentPage_ = page;
    refresh();
}

}  // namespace zelvor::app
