#include "editing/widgets/pages.h"

#include <QApplication>
#include <QFont>
#include <QTabWidget>

namespace zelvor::widgets {

void applyApplicationLook() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
}

QStringList buildAllPages(QTabWidget* pageControl, ControlFactory& factory) {
    factory.registry().add("PageControl1", pageControl);
    for (int index = 0; index < 12; ++index) {
        auto* page = new QWidget;
        factory.registry().add(kPageNames[index], page);
        pageControl->addTab(page, QString::fromLatin1(kPageNames[index]));
    }
    const auto page = [&](int index) { return pageControl->widget(index); };
    buildBikePage(page(0), factory);
    for (int index = 1; index <= 3; ++index) buildMapPage(page(index), factory, index);
    buildPositionPage(page(4), factory);
    buildCorrectionsPage(page(5), factory);
    buildSensorsPage(page(6), factory);
    buildIdlePage(page(7), factory);
    buildGasPage(page(8), factory);
    buildRacePage(page(9), factory);
    buildGearPage(page(10), factory);
    buildMonitorPage(page(11), factory);
    return factory.tableEditors();
}

}  // namespace zelvor::widgets
