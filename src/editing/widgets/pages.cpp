#include "editing/widgets/pages.h"

#include <QApplication>
#include <QFont>
#include <QTabWidget>

#include "editing/widgets/window_style.h"

namespace zelvor::widgets {

void applyApplicationLook() {
    QApplication::setStyle(new WindowStyle);
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
}

QStringList buildAllPages(QTabWidget* pageControl, ControlFactory& factory) {
    factory.registry().add("PageControl1", pageControl);
    for (int index = 0; index < editing::kPageCount; ++index) {
        auto* page = new QWidget;
        factory.registry().add(kPageNames[index], page);
        pageControl->addTab(page, QString::fromLatin1(kPageNames[index]));
    }
    const auto page = [&](int index) { return pageControl->widget(index); };
    buildBikePage(page(editing::kPageBike), factory);
    for (int index : {editing::kPageAdvance, editing::kPageJet1A, editing::kPageJet2A}) {
        buildMapPage(page(index), factory, index);
    }
    buildPositionPage(page(editing::kPagePoloha), factory);
    buildCorrectionsPage(page(editing::kPageKorekce), factory);
    buildSensorsPage(page(editing::kPageCidla), factory);
    buildIdlePage(page(editing::kPageIdle), factory);
    buildGasPage(page(editing::kPageGas), factory);
    buildRacePage(page(editing::kPageRace), factory);
    buildGearPage(page(editing::kPageGear), factory);
    buildMonitorPage(page(editing::kPageMonitor), factory);
    return factory.tableEditors();
}

}  // namespace zelvor::widgets
