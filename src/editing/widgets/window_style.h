#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStyleOptionTabWidgetFrame>

#include "editing/widgets/steady_palette_style.h"

namespace zelvor::widgets {

// The window's style: Fusion with steady spin box palettes, and the page
// control drawn from pictures kept between paints.
//
// A change of page repaints every tab and the frame around the page. A
// tab's shape (a rounded, shaded outline) depends on its size, state and
// place in the row only, so it is drawn once and copied; the captions are
// drawn each time as before. The frame around the page, drawn as
// translucent lines hundreds of rows tall, cost more than the page's own
// controls; it is drawn once small and laid out from that picture: its
// corners copied, its edges and inside filled line by line.
class WindowStyle : public SteadyPaletteStyle {
  public:
    using SteadyPaletteStyle::SteadyPaletteStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

  private:
    static constexpr int kMargin = 8;  // room for what a shape draws beside its rect
    static constexpr qsizetype kMaxShapes = 256;
    // The page frame is laid out from a picture this size, of which this
    // much at each edge differs from the inside.
    static constexpr int kFrameSample = 12;
    static constexpr int kFrameEdge = 4;
    const QImage& frameSample(const QStyleOptionTabWidgetFrame& frame, const QWidget* widget) const;
    void layOutFrame(const QStyleOptionTabWidgetFrame& frame, QPainter* painter,
                     const QWidget* widget) const;

    mutable QHash<QString, QPixmap> tabShapes_;
    mutable QHash<QString, QImage> frames_;
};

}  // namespace zelvor::widgets
