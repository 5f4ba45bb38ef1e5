#include "editing/page_binder.h"

#include "editing/conversion.h"
#include "editing/memo_text.h"
#include "editing/page_bindings.h"
#include "model/field_table.h"

namespace zelvor::editing {

namespace {

constexpr int kKnownBikes = 8;

void collectOne(const Binding& b, const ControlAccess& controls, model::ParameterImage& image,
                CodePage memoPage) {
    switch (b.kind) {
        case ControlKind::Spinner:
            image.set(
                b.field, b.fieldIndex,
                toStored(b.conversion, controls.position(b), model::descriptor(b.field).width));
            break;
        case ControlKind::CheckBox:
            image.set(b.field, b.fieldIndex, controls.isChecked(b) ? 1 : 0);
            break;
        case ControlKind::RadioGroup: {
            const int item = controls.itemIndex(b);
            if (item >= 0) image.set(b.field, b.fieldIndex, static_cast<unsigned>(item));
            break;
        }
        case ControlKind::ComboBox: {
            const int item = controls.itemIndex(b);
            if (item >= 0 && item < kKnownBikes) {
                image.set(b.field, b.fieldIndex, static_cast<unsigned>(item));
            }
            break;
        }
        case ControlKind::Memo:
            storeMemo(image, controls.text(b), memoPage);
            break;
    }
}

void refreshOne(const Binding& b, ControlAccess& controls, const model::ParameterImage& image,
                CodePage memoPage, RefreshResult& result) {
    switch (b.kind) {
        case ControlKind::Spinner:
            controls.setPosition(b, toPosition(b.conversion, image.get(b.field, b.fieldIndex)));
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
                 CodePage memoPage) {
    for (const Binding& b : pageBindings(page)) collectOne(b, controls, image, memoPage);
}

RefreshResult refreshPage(int page, ControlAccess& controls, const model::ParameterImage& image,
                          CodePage memoPage) {
    RefreshResult result;
    for (const Binding& b : pageBindings(page)) refreshOne(b, controls, image, memoPage, result);
    return result;
}

}  // namespace zelvor::editing
