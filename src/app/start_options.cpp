#include "app/start_options.h"

namespace zelvor::app {

namespace {

std::optional<std::uint8_t> languageOf(const QString& word) {
    // Compared exactly, in this order.
    if (word == QLatin1String("ENGLISH")) return 0;
    if (word == QLatin1String("FRENCH")) return 2;
    if (word == QLatin1String("DEUTSCH")) return 1;
    if (word == QLatin1String("CESKY")) return 3;
    return std::nullopt;
}

}  // namespace

StartOptions parseStartOptions(const QStringList& arguments) {
    StartOptions options;
    if (!arguments.isEmpty()) options.language = languageOf(arguments.first());
    for (qsizetype i = options.language ? 1 : 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("%1 needs a value").arg(a);
                return std::nullopt;
            }
            return arguments[++i].toStdString();
        };
        if (a == QLatin1String("--port")) {
            options.portDevice = value();
        } else if (a == QLatin1String("--simulate")) {
            options.simulate = true;
        } else if (a == QLatin1String("--sim-option")) {
            if (auto v = value()) options.simulatorArguments.push_back(*v);
        } else if (a == QLatin1String("--log")) {
            if (auto v = value()) options.logFile = QString::fromStdString(*v);
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            options.help = true;
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            options.error = QStringLiteral("unknown option %1").arg(a);
        } else if (options.file.isEmpty() && !a.isEmpty()) {
            options.file = a;
        } else {
            options.error = QStringLiteral("unexpected argument %1").arg(a);
        }
    }
    return options;
}

QString startOptionsUsage() {
    return QStringLiteral(
        "usage: zelvor [ENGLISH|DEUTSCH|FRENCH|CESKY] [--port DEVICE] [--simulate "
        "[--sim-option OPTION]...] [--log LOG.csv] [FILE.ign]\n"
        "  ENGLISH ...     language of the window (first argument, exact spelling)\n"
        "  FILE.ign        open this parameter file once the window is up\n"
        "  --port DEVICE   talk to the unit on DEVICE instead of the Com menu's port\n"
        "  --simulate      start the simulated unit and connect to it\n"
        "  --log LOG.csv   open this ride log in the log view\n"
        "  --sim-option X  pass X to the simulated unit, e.g. --sim-option --fault "
        "--sim-option drop=5\n");
}

}  // namespace zelvor::app
