#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <QWidget>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "editing/widgets/pages.h"
#include "editing/widgets/ui_text_applier.h"
#include "i18n/ui_texts.h"

namespace zelvor::testing {

// Runs the tests inside a QApplication with the window's look, offscreen
// unless the caller chose a platform.
inline int runTestsInApplication(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    widgets::applyApplicationLook();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The window's twelve pages, built the way the window builds them, in a
// window of the window's size.
struct BuiltPages {
    QWidget window;
    QTabWidget* pages = nullptr;
    widgets::ControlRegistry registry;
    widgets::ControlFactory factory{registry};
    QStringList missingContainers;

    BuiltPages() {
        window.resize(1039, 801);
        pages = new QTabWidget(&window);
        pages->setGeometry(4, 48, widgets::kPageControlSize.width(),
                           widgets::kPageControlSize.height());
        missingContainers = widgets::buildAllPages(pages, factory);
    }

    // The fixed texts, then those of the language.
    void applyTexts(i18n::Language language) {
        widgets::applyUiTexts(registry, i18n::fixedUiTexts());
        widgets::applyUiTexts(registry, i18n::translatedUiTexts(language, true));
    }

    // Shows a page, so its widgets have their final geometry.
    QWidget* show(int page) {
        pages->setCurrentIndex(page);
        QApplication::processEvents();
        return pages->widget(page);
    }

    QWidget* widget(const std::string& name, int element = -1) const {
        return registry.find<QWidget>(name, element);
    }

    // The registered widgets inside any of the containers (not the containers
    // themselves), each once: an edit and its spinner are one widget under
    // two names.
    std::vector<QWidget*> registeredWidgetsIn(const std::vector<QWidget*>& containers) const {
        const auto inside = [&containers](const QWidget* w) {
            for (const QWidget* container : containers) {
                if (container != w && container->isAncestorOf(w)) return true;
            }
            return false;
        };
        std::set<QWidget*> seen;
        std::vector<QWidget*> found;
        for (const QString& key : registry.names()) {
            auto* w = qobject_cast<QWidget*>(registry.objectByKey(key));
            if (w != nullptr && inside(w) && seen.insert(w).second) found.push_back(w);
        }
        return found;
    }
};

inline std::string nameOf(const QObject* object) {
    return object->objectName().toStdString();
}

// Widgets by the widget they sit in.
inline std::map<QWidget*, std::vector<QWidget*>> byParent(const std::vector<QWidget*>& widgets) {
    std::map<QWidget*, std::vector<QWidget*>> children;
    for (QWidget* w : widgets) children[w->parentWidget()].push_back(w);
    return children;
}

// Every child lies within room (in its parent's coordinates) and overlaps no
// sibling.
inline void expectInsideAndApart(const QWidget* parent, const std::vector<QWidget*>& children,
                                 const QRect& room) {
    for (std::size_t i = 0; i < children.size(); ++i) {
        EXPECT_TRUE(room.contains(children[i]->geometry()))
            << nameOf(children[i]) << " sticks out of " << nameOf(parent);
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                << nameOf(children[i]) << " overlaps " << nameOf(children[j]);
        }
    }
}

}  // namespace zelvor::testing
