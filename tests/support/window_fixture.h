#pragma once

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "scripted_dialogs.h"

namespace zelvor::testing {

// Fails the running test function when the window looks up a control by a
// name nobody registered (a table naming a control that was never built).
struct FailOnMissingControls {
    FailOnMissingControls() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^Control registry: ")));
    }
};

// A window with its own settings folder and scripted dialogs. The 55 ms
// timer is stopped: tests advance the tick themselves.
struct WindowUnderTest {
    explicit WindowUnderTest(const QString& settingsFolder, app::StartOptions options = {},
                             bool manualTicks = true)
        : window(std::move(options), app::SettingsPaths{settingsFolder.toStdString()},
                 std::make_unique<ScriptedDialogs>(script)) {
        if (manualTicks) window.tickTimer().stop();
    }

    void ticks(int count) {
        for (int i = 0; i < count; ++i) window.Timer1Timer();
    }

    FailOnMissingControls failOnMissingControls;
    ScriptedDialogs::Script script;
    app::TFormHlav window;
};

}  // namespace zelvor::testing
