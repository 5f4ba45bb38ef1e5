#include "editing/widgets/window_style.h"

#include <QPaintDevice>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>

namespace zelvor::widgets {

namespace {

// Everything a tab's shape is drawn from besides the painter's place.
QString tabShapeKey(const QStyleOptionTab& tab, qreal ratio) {
    return QStringLiteral("%1x%2 s%3 d%4 h%5 p%6 q%7 f%8 m%9 k%10 r%11")
        .arg(tab.rect.width())
        .arg(tab.rect.height())
        .arg(static_cast<uint>(tab.state))
        .arg(static_cast<int>(tab.direction))
        .arg(static_cast<int>(tab.shape))
        .arg(static_cast<int>(tab.position))
        .arg(static_cast<int>(tab.selectedPosition))
        .arg(static_cast<uint>(tab.features))
        .arg(tab.documentMode ? 1 : 0)
        .arg(tab.palette.cacheKey())
        .arg(ratio);
}

// Everything the frame around the pages is drawn from besides its size.
QString frameKey(const QStyleOption& option, qreal ratio) {
    const auto* frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(&option);
    return QStringLiteral("s%1 h%2 k%3 r%4")
        .arg(static_cast<uint>(option.state))
        .arg(frame != nullptr ? static_cast<int>(frame->shape) : -1)
        .arg(option.palette.cacheKey())
        .arg(ratio);
}

}  // namespace

const QImage& WindowStyle::frameSample(const QStyleOption& option, const QWidget* widget) const {
    const QString key = frameKey(option, 1.0);
    auto found = frames_.constFind(key);
    if (found == frames_.cend()) {
        if (frames_.size() >= kMaxShapes) frames_.clear();
        QImage sample(kFrameSample, kFrameSample, QImage::Format_ARGB32_Premultiplied);
        sample.fill(Qt::transparent);
        QPainter painter(&sample);
        // The option as given, of its own type (style options are copied,
        // never deleted through their base), drawn small.
        const auto drawSmall = [&](auto small) {
            small.rect = QRect(0, 0, kFrameSample, kFrameSample);
            SteadyPaletteStyle::drawPrimitive(PE_FrameTabWidget, &small, &painter, widget);
        };
        if (const auto* frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(&option)) {
            drawSmall(*frame);
        } else {
            drawSmall(option);
        }
        painter.end();
        found = frames_.insert(key, sample);
    }
    return found.value();
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    const QRect rect = option->rect;
    // The laying out holds at a pixel ratio of 1 and for a frame larger
    // than its sample; anything else is drawn as the style draws it.
    const bool laidOut = element == PE_FrameTabWidget && painter->device() != nullptr &&
                         painter->device()->devicePixelRatio() == 1.0 &&
                         rect.width() > kFrameSample && rect.height() > kFrameSample;
    if (!laidOut) {
        SteadyPaletteStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QImage& sample = frameSample(*option, widget);
    const int e = kFrameEdge;
    const int s = kFrameSample;
    const int innerWidth = rect.width() - 2 * e;
    const int innerHeight = rect.height() - 2 * e;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Corners as drawn, edges stretched from one row or column of the sample.
    painter->drawImage(QRect(rect.left(), rect.top(), e, e), sample, QRect(0, 0, e, e));
    painter->drawImage(QRect(rect.right() - e + 1, rect.top(), e, e), sample,
                       QRect(s - e, 0, e, e));
    painter->drawImage(QRect(rect.left(), rect.bottom() - e + 1, e, e), sample,
                       QRect(0, s - e, e, e));
    painter->drawImage(QRect(rect.right() - e + 1, rect.bottom() - e + 1, e, e), sample,
                       QRect(s - e, s - e, e, e));
    painter->drawImage(QRect(rect.left() + e, rect.top(), innerWidth, e), sample,
                       QRect(e, 0, 1, e));
    painter->drawImage(QRect(rect.left() + e, rect.bottom() - e + 1, innerWidth, e), sample,
                       QRect(e, s - e, 1, e));
    painter->drawImage(QRect(rect.left(), rect.top() + e, e, innerHeight), sample,
                       QRect(0, e, e, 1));
    painter->drawImage(QRect(rect.right() - e + 1, rect.top() + e, e, innerHeight), sample,
                       QRect(s - e, e, e, 1));
    // The inside is one colour: a fill, the fastest a raster painter has.
    painter->fillRect(QRect(rect.left() + e, rect.top() + e, innerWidth, innerHeight),
                      QColor::fromRgba(sample.pixel(e, e)));
    painter->restore();
}

void WindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option);
    if (element != CE_TabBarTabShape || tab == nullptr || painter->device() == nullptr) {
        SteadyPaletteStyle::drawControl(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatio();
    const QString key = tabShapeKey(*tab, ratio);
    auto found = tabShapes_.constFind(key);
    if (found == tabShapes_.cend()) {
        if (tabShapes_.size() >= kMaxShapes) tabShapes_.clear();
        const QSize size = tab->rect.size() + QSize(2 * kMargin, 2 * kMargin);
        QPixmap shape(size * ratio);
        shape.setDevicePixelRatio(ratio);
        shape.fill(Qt::transparent);
        QPainter shapePainter(&shape);
        QStyleOptionTab moved = *tab;
        moved.rect.moveTo(kMargin, kMargin);
        SteadyPaletteStyle::drawControl(element, &moved, &shapePainter, widget);
        shapePainter.end();
        found = tabShapes_.insert(key, shape);
    }
    painter->drawPixmap(tab->rect.topLeft() - QPoint(kMargin, kMargin), found.value());
}

}  // namespace zelvor::widgets
