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

// Everything a page frame is drawn from besides its size.
QString frameKey(const QStyleOptionTabWidgetFrame& frame) {
    return QStringLiteral("s%1 h%2 k%3")
        .arg(static_cast<uint>(frame.state))
        .arg(static_cast<int>(frame.shape))
        .arg(frame.palette.cacheKey());
}

}  // namespace

const QImage& WindowStyle::frameSample(const QStyleOptionTabWidgetFrame& frame,
                                       const QWidget* widget) const {
    const QString key = frameKey(frame);
    auto found = frames_.constFind(key);
    if (found == frames_.cend()) {
        if (frames_.size() >= kMaxShapes) frames_.clear();
        QImage sample(kFrameSample, kFrameSample, QImage::Format_ARGB32_Premultiplied);
        sample.fill(Qt::transparent);
        QPainter painter(&sample);
        QStyleOptionTabWidgetFrame small = frame;
        small.rect = QRect(0, 0, kFrameSample, kFrameSample);
        SteadyPaletteStyle::drawPrimitive(PE_FrameTabWidget, &small, &painter, widget);
        painter.end();
        found = frames_.insert(key, sample);
    }
    return found.value();
}

void WindowStyle::layOutFrame(const QStyleOptionTabWidgetFrame& frame, QPainter* painter,
                              const QWidget* widget) const {
    const QImage& sample = frameSample(frame, widget);
    const QRect rect = frame.rect;
    const int e = kFrameEdge;
    const int s = kFrameSample;
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
    // Only the page frame is laid out. A group box's frame is left to the
    // style: its inside is translucent, and laid out line by line it cost
    // more than the style's own stretched picture, which Qt fills on several
    // threads. The laying out holds at a pixel ratio of 1 and for a frame
    // larger than its sample; anything else is drawn as the style draws it.
    const auto* frame = element == PE_FrameTabWidget
                            ? qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(option)
                            : nullptr;
    const bool laidOut = frame != nullptr && painter->device() != nullptr &&
                         painter->device()->devicePixelRatio() == 1.0 &&
                         frame->rect.width() > kFrameSample && frame->rect.height() > kFrameSample;
    if (laidOut) {
        layOutFrame(*frame, painter, widget);
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
