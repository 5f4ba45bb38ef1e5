#pragma once

#include <QHash>
#include <QPalette>
#include <QProxyStyle>
#include <vector>

namespace zelvor::widgets {

// The window's look (Fusion) with one change: a spin box is drawn with one
// shared palette for each set of colours it shows.
//
// The style keeps the drawn frame of a spin box in the application's pixmap
// cache under a name that includes the palette's cache key. Every colour a
// live value gives an edit is a new palette with a new key, even when the
// colour was shown before, so the cache took a new picture each time the
// lit edit moved and grew for as long as the engine ran. With one palette
// per set of colours, a colour shown before finds its picture again.
class SteadyPaletteStyle : public QProxyStyle {
  public:
    // Takes the style it draws with; Fusion when none is given.
    explicit SteadyPaletteStyle(QStyle* base = nullptr);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;

    // The palette equal to `palette` that this style shares, with the
    // colour group of `palette`.
    QPalette steadyPalette(const QPalette& palette) const;

  private:
    static constexpr qsizetype kMaxKeys = 1024;
    static constexpr std::size_t kMaxShared = 64;
    mutable QHash<qint64, QPalette> byKey_;  // a widget's palette key -> its shared palette
    mutable std::vector<QPalette> shared_;
};

}  // namespace zelvor::widgets
