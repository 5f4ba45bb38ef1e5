// The window's style draws what Fusion draws, from pictures it keeps: the
// page control and framed groups look the same to a step of a channel, and a spin box shown in a
// colour it had before is drawn with the palette it had then, so the
// style's picture of it is found again instead of drawn anew.
#include <QGroupBox>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <QtTest>
#include <cstdlib>
#include <memory>

#include "editing/widgets/colours.h"
#include "editing/widgets/steady_palette_style.h"
#include "editing/widgets/window_style.h"

using namespace zelvor;
using editing::Colour;

namespace {

// A page control as the window has it: many tabs, one large page.
std::unique_ptr<QTabWidget> pageControl(int current) {
    auto pages = std::make_unique<QTabWidget>();
    for (const char* name : {"Bike", "Advance", "Inj. 1", "Inj. 2", "Position", "Corrections",
                             "Sensors", "Idle", "Gas", "Race", "Gear", "Monitor"}) {
        pages->addTab(new QWidget, QString::fromLatin1(name));
    }
    // Framed groups as the pages have them: one without a title (as the
    // map grid), one with.
    auto* plain = new QGroupBox(pages->widget(current));
    plain->setGeometry(4, 4, 600, 420);
    auto* titled = new QGroupBox(QStringLiteral("Engine"), pages->widget(current));
    titled->setGeometry(610, 30, 180, 300);
    pages->resize(820, 640);
    pages->setCurrentIndex(current);
    return pages;
}

QImage drawnWith(QStyle* style, int current) {
    QApplication::setStyle(style);
    const auto pages = pageControl(current);
    pages->show();
    return pages->grab().toImage();
}

// The pixels that differ by more than the rounding of a translucent edge
// laid over another (one step of a channel).
int pixelsApart(const QImage& drawn, const QImage& expected) {
    int apart = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            const bool near = std::abs(qRed(a) - qRed(b)) <= 1 &&
                              std::abs(qGreen(a) - qGreen(b)) <= 1 &&
                              std::abs(qBlue(a) - qBlue(b)) <= 1 && qAlpha(a) == qAlpha(b);
            apart += near ? 0 : 1;
        }
    }
    return apart;
}

}  // namespace

class WindowStyleTest : public QObject {
    Q_OBJECT

  private slots:
    void pageControlLooksAsFusionDrawsIt() {
        for (int current : {0, 2, 11}) {
            const QImage fusion =
                drawnWith(QStyleFactory::create(QStringLiteral("Fusion")), current);
            const QImage window = drawnWith(new widgets::WindowStyle, current);
            QCOMPARE(window.size(), fusion.size());
            // Drawn twice: the second time from the kept pictures.
            const QImage again = drawnWith(QApplication::style(), current);
            for (const QImage* drawn : {&window, &again}) {
                const int differing = pixelsApart(*drawn, fusion);
                if (differing > 0) {
                    QFAIL(qPrintable(QStringLiteral("%1 pixels differ with tab %2 current")
                                         .arg(differing)
                                         .arg(current)));
                }
            }
        }
    }

    void aColourShownBeforeKeepsItsPalette() {
        widgets::SteadyPaletteStyle style;
        QSpinBox first;
        QSpinBox second;
        const auto drawnPalette = [&](QSpinBox& box, Colour colour) {
            widgets::setBackground(&box, colour);
            return style.steadyPalette(box.palette());
        };
        const QPalette lit = drawnPalette(first, Colour::Lime);
        const QPalette plain = drawnPalette(first, Colour::Window);
        const QPalette litAgain = drawnPalette(first, Colour::Lime);
        // Each change gave the box a new palette; the style draws with one
        // per set of colours.
        QCOMPARE(litAgain.cacheKey(), lit.cacheKey());
        QVERIFY(plain.cacheKey() != lit.cacheKey());
        QCOMPARE(litAgain.color(QPalette::Base), widgets::toQColor(Colour::Lime));
        QCOMPARE(drawnPalette(second, Colour::Lime).cacheKey(), lit.cacheKey());

        // The colour group the box is drawn in is its own.
        QPalette inactive = second.palette();
        inactive.setCurrentColorGroup(QPalette::Inactive);
        QCOMPARE(style.steadyPalette(inactive).currentColorGroup(), QPalette::Inactive);
        QCOMPARE(style.steadyPalette(inactive).cacheKey(), lit.cacheKey());
    }
};

QTEST_MAIN(WindowStyleTest)
#include "window_style_test.moc"
