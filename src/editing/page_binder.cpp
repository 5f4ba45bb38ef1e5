#include "editing/page_binder.h"

#include "editing/conversion.h"
#include "editing/memo_text.h"
#include "editing/page_bindings.h"
#include "model/field_table.h"

namespace zelvor::editing {

namespace {

// The separator follows the known bikes 0..7.
constexpr int kKnownBikes = kBikeSeparatorItem;

// A control's value as a number (check boxes 0/1, lists their item index).
int numberOf(const Binding& b, const ControlAccess& controls) {
    switch (b.kind) {
        case ControlKind::Spinner:
            return controls.position(b);
        case ControlKind::CheckBox:
            return controls.isChecked(b) ? 1 : 0;
        case ControlKind::RadioGroup:
        case ControlKind::ComboBox:
            return controls.itemIndex(b);
        case ControlKind::Memo:
            break;
    }
    return 0;
}

void collectOne(const Binding& b, const ControlAccess& controls, model::ParameterImage& image,
                CodePage memoPage, const ShownValues* shown) {
    if (b.kind == ControlKind::Memo) {
        const std::string text = controls.text(b);
        if (shown == nullptr || shown->changed(b, text)) storeMemo(image, text, memoPage);
        return;
    }
    const int value = numberOf(b, controls);
    if (shown != nullptr && !shown->changed(b, value)) return;
    switch (b.kind) {
        case ControlKind::Spinner:
            image.set(b.field, b.fieldIndex, toStored(b, value));
            break;
        case ControlKind::CheckBox:
            image.set(b.field, b.fieldIndex, static_cast<unsigned>(value));
            break;
        case ControlKind::RadioGroup:
            if (value >= 0) image.set(b.field, b.fieldIndex, static_cast<unsigned>(value));
            break;
        case ControlKind::ComboBox:
            if (value >= 0 && value < kKnownBikes) {
                image.set(b.field, b.fieldIndex, static_cast<unsigned>(value));
            }
            break;
        case ControlKind::Memo:
            break;
    }
}

void refreshOne(const Binding& b, ControlAccess& controls, const model::ParameterImage& image,
                CodePage memoPage, RefreshResult& result) {
    switch (b.kind) {
        case ControlKind::Spinner:
            controls.setPosition(b, toPosition(b, image.get(b.field, b.fieldIndex)));
            break;
        case ControlKind::CheckBox:
            controls.setChecked(b, image.get(b.field, b.fieldIndex) != 0);
            break;
        case ControlKind::RadioGroup:
            controls.setItemIndex(b, image.get(b.field, b.fieldIndex));
            break;
        case ControlKind::ComboBox: {
            const int bike = image.get(b.field, b.fieldIndex);
            if (bike < kKnownBikes) {
                controls.setItemIndex(b, bike);
            } else {
                controls.setItemIndex(b, kBikeSeparatorItem);
                result.unknownBike = true;
            }
            break;
        }
        case ControlKind::Memo:
            controls.setText(b, loadMemo(image, memoPage));
            break;
    }
}

}  // namespace

bool isBoundPage(int page) {
    return !pageBindings(page).empty();
}

void collectPage(int page, const ControlAccess& controls, model::ParameterImage& image,
                 CodePage memoPage, const ShownValues* shown) {
    for (const Binding& b : pageBindings(page)) collectOne(b, controls, image, memoPage, shown);
}

RefreshResult refreshPage(int page, ControlAccess& controls, const model::ParameterImage& image,
                          CodePage memoPage, ShownValues* shown) {
    RefreshResult result;
    for (const Binding& b : pageBindings(page)) {
        refreshOne(b, controls, image, memoPage, result);
        if (shown == nullptr) continue;
        if (b.kind == ControlKind::Memo) {
            shown->record(b, controls.text(b));
        } else {
            shown->record(b, numberOf(b, controls));
        }
    }
    return result;
}

}  // namespace zelvor::editing
