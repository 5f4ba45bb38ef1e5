#include <QApplication>
#include <QMessageBox>
#include <QTextStream>
#include <cstdio>
#include <exception>

#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    zelvor::app::setUpApplication();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const zelvor::app::StartOptions options = zelvor::app::parseStartOptions(arguments);
    if (options.help || !options.error.isEmpty()) {
        QTextStream err(stderr);
        if (!options.error.isEmpty()) err << "zelvor: " << options.error << "\n";
        err << zelvor::app::startOptionsUsage();
        return options.help ? 0 : 2;
    }
    try {
        zelvor::app::TFormHlav window(options, zelvor::app::SettingsPaths::fromEnvironment());
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        // Nothing should get here; if something does, the user learns what
        // it was instead of seeing the program vanish.
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                              QString::fromLocal8Bit(error.what()));
        return 0;
    }
}
