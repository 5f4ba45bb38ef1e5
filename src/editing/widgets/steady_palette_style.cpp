#include "editing/widgets/steady_palette_style.h"

#include <QStyleFactory>
#include <QStyleOptionSpinBox>
#include <algorithm>

namespace zelvor::widgets {

SteadyPaletteStyle::SteadyPaletteStyle(QStyle* base)
    : QProxyStyle(base != nullptr ? base : QStyleFactory::create(QStringLiteral("Fusion"))) {}

QPalette SteadyPaletteStyle::steadyPalette(const QPalette& palette) const {
    const qint64 key = palette.cacheKey();
    auto known = byKey_.constFind(key);
    if (known == byKey_.cend()) {
        // Both stores stay small: a handful of colour sets, and the keys of
        // the palettes widgets were given since the last clearing.
        if (byKey_.size() >= kMaxKeys || shared_.size() >= kMaxShared) {
            byKey_.clear();
            shared_.clear();
        }
        auto same = std::find(shared_.begin(), shared_.end(), palette);
        if (same == shared_.end()) same = shared_.insert(shared_.end(), palette);
        known = byKey_.insert(key, *same);
    }
    QPalette steady = known.value();
    steady.setCurrentColorGroup(palette.currentColorGroup());
    return steady;
}

void SteadyPaletteStyle::drawComplexControl(ComplexControl control,
                                            const QStyleOptionComplex* option, QPainter* painter,
                                            const QWidget* widget) const {
    const auto* spinBox = qstyleoption_cast<const QStyleOptionSpinBox*>(option);
    if (control != CC_SpinBox || spinBox == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QStyleOptionSpinBox steady = *spinBox;
    steady.palette = steadyPalette(spinBox->palette);
    QProxyStyle::drawComplexControl(control, &steady, painter, widget);
}

}  // namespace zelvor::widgets
