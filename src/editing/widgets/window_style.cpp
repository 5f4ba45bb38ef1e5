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

// Everything a frame is drawn from besides its size.
QString frameKey(QStyle::PrimitiveElement element, const QStyleOption& option) {
    const auto* tabFrame = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(&option);
    return QStringLiteral("e%1 s%2 h%3 k%4")
        .arg(static_cast<int>(element))
        .arg(static_cast<uint>(option.state))
        .arg(tabFrame != nullptr ? static_cast<int>(tabFrame->shape) : -1)
        .arg(option.palette.cacheKey());
}

}  // namespace

std::optional<WindowStyle::FrameBands> WindowStyle::bandsOf(PrimitiveElement element) {
    switch (element) {
        case PE_FrameTabWidget:
            return FrameBands{.edge = 4, .sample = 12};
        // A group box's frame is left to the style: its inside is
        // translucent, and laid out line by line it cost more than the
        // style's own stretched picture, which Qt fills on several threads.
        default:
            return std::nullopt;
    }
}

const QImage& WindowStyle::frameSample(PrimitiveElement element, FrameBands bands,
                                       const QStyleOption& option, const QWidget* widget) const {
    const QString key = frameKey(element, option);
    auto found = frames_.constFind(key);
    if (found == frames_.cend()) {
        if (frames_.size() >= kMaxShapes) frames_.clear();
        QImage sample(bands.sample, bands.sample, QImage::Format_ARGB32_Premultiplied);
        sample.fill(Qt::transparent);
        QPainter painter(&sample);
        // The option as given, of its own type (style options are copied,
        // never deleted through their base), drawn small.
        const auto drawSmall = [&](auto small) {
            small.rect = QRect(0, 0, bands.sample, bands.sample);
            SteadyPaletteStyle::drawPrimitive(element, &small, &painter, widget);
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

void WindowStyle::layOutFrame(PrimitiveElement element, FrameBands bands,
                              const QStyleOption& option, QPainter* painter,
                              const QWidget* widget) const {
    const QImage& sample = frameSample(element, bands, option, widget);
    const QRect rect = option.rect;
    const int e = bands.edge;
    const int s = bands.sample;
    const int innerWidth = rect.width() - 2 * e;
    const int innerHeight = rect.height() - 2 * e;
    painter->save();
    // Corners as drawn.
    painter->drawImage(QRect(rect.left(), rect.top(), e, e), sample, QRect(0, 0, e, e));
    painter->drawImage(QRect(rect.right() - e + 1, rect.top(), e, e), sample,
                       QRect(s - e, 0, e, e));
    painter->drawImage(QRect(rect.left(), rect.bottom() - e + 1, e, e), sample,
                       QRect(0, s - e, e, e));
    painter->drawImage(QRect(rect.right() - e + 1, rect.bottom() - e + 1, e, e), sample,
                       QRect(s - e, s - e, e, e));
    // Each line of an edge is one colour along its length: a fill each,
    // the fastest a raster painter has, and none where the sample is clear.
    const auto fillLine = [&](QRect line, int x, int y) {
        const QColor colour = sample.pixelColor(x, y);
        if (colour.alpha() != 0) painter->fillRect(line, colour);
    };
    for (int i = 0; i < e; ++i) {
        fillLine(QRect(rect.left() + e, rect.top() + i, innerWidth, 1), e, i);
        fillLine(QRect(rect.left() + e, rect.bottom() - e + 1 + i, innerWidth, 1), e, s - e + i);
        fillLine(QRect(rect.left() + i, rect.top() + e, 1, innerHeight), i, e);
        fillLine(QRect(rect.right() - e + 1 + i, rect.top() + e, 1, innerHeight), s - e + i, e);
    }
    // The inside is one colour too.
    fillLine(QRect(rect.left() + e, rect.top() + e, innerWidth, innerHeight), e, e);
    painter->restore();
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    const std::optional<FrameBands> bands = bandsOf(element);
    // The laying out holds at a pixel ratio of 1 and for a frame larger
    // than its sample; anything else is drawn as the style draws it.
    const bool laidOut =
        bands && painter->device() != nullptr && painter->device()->devicePixelRatio() == 1.0 &&
        option->rect.width() > bands->sample && option->rect.height() > bands->sample;
    if (laidOut) {
        layOutFrame(element, *bands, *option, painter, widget);
    } else {
        SteadyPaletteStyle::drawPrimitive(element, option, painter, widget);
    }
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
