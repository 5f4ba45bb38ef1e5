// Builds every page and the live panel exactly as the window does, applies
// the texts of a language and saves a picture of each page, for checking the
// layout by eye: zelvor-page-gallery OUTPUT_FOLDER [LANGUAGE 0..3]
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>
#include <cstdio>

#include "editing/widgets/pages.h"
#include "editing/widgets/ui_text_applier.h"
#include "i18n/ui_texts.h"

using namespace zelvor;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    widgets::applyApplicationLook();
    if (argc < 2) {
        std::fprintf(stderr, "usage: zelvor-page-gallery OUTPUT_FOLDER [LANGUAGE]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const auto language =
        static_cast<i18n::Language>(argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 0);

    widgets::ControlRegistry registry;
    widgets::ControlFactory factory(registry);
    QWidget window;
    window.resize(1039, 801);
    auto* pages = new QTabWidget(&window);
    pages->setGeometry(4, 48, widgets::kPageControlSize.width(),
                       widgets::kPageControlSize.height());
    auto* panel = new QWidget(&window);
    panel->setGeometry(4, 532, widgets::kLivePanelSize.width(), widgets::kLivePanelSize.height());
    const QStringList missing = widgets::buildAllPages(pages, factory);
    widgets::buildLivePanel(panel, factory);
    QTextStream err(stderr);
    for (const QString& name : missing) err << "missing container: " << name << "\n";
    for (auto name : widgets::applyUiTexts(registry, i18n::fixedUiTexts())) {
        err << "no control for fixed text: " << QString::fromUtf8(name.data(), name.size()) << "\n";
    }
    for (auto name : widgets::applyUiTexts(registry, i18n::translatedUiTexts(language, true))) {
        err << "no control for text: " << QString::fromUtf8(name.data(), name.size()) << "\n";
    }
    window.show();
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        window.grab().save(out.filePath(QStringLiteral("page%1_%2.png")
                                            .arg(i, 2, 10, QLatin1Char('0'))
                                            .arg(widgets::kPageNames[i])));
    }
    return 0;
}
