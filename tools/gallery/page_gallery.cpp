// zelvor-page-gallery OUTPUT_FOLDER [LANGUAGE 0..3]
//
// Starts the window as a tuner sees it at the bench, connected to a unit
// whose engine runs, with its texts in the language (0 English, 1 German,
// 2 French, 3 Czech), and saves a picture of the whole window (window.png)
// and of every page (page01_TabSheet_Advance.png, ...): the live values in
// the panel, the lit cell on the map pages, the lit column, point and gear on
// the others. The manuals show these pictures; they also serve for checking
// the layout by eye. Runs on any Qt platform, offscreen included.
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

#include "app/main_window.h"
#include "editing/page_index.h"
#include "editing/widgets/pages.h"
#include "gallery/demonstration_unit.h"

using namespace zelvor;

namespace {

// A moment of the simulated ride: engine warm (81 °C), 3rd gear, 124 km/h,
// 8250 rpm at 40 % throttle, so the lit cell stands in the middle of a map.
constexpr std::chrono::milliseconds kRideMoment{64400};

// Enough ticks for the window to poll, take the answer and light the cells.
constexpr int kSettlingTicks = 8;

// The window's message boxes and file dialogs, answered by nobody: a box
// that comes up is reported, since a picture should not hide one.
class UnattendedDialogs final : public app::Dialogs {
  public:
    void message(const QString& text) override {
        QTextStream(stderr) << "zelvor-page-gallery: the window says: " << text << "\n";
    }
    Answer askYesNoCancel(const QString& text) override {
        message(text);
        return Answer::Cancel;
    }
    QString openParameterFile(const QString&, const QString&) override { return {}; }
    QString saveParameterFile(const QString&, const QString&) override { return {}; }
    QString savePrintFile(const QString&, const QString&) override { return {}; }
    QStringList openRideLogs(const QString&) override { return {}; }
    QString openRideLog(const QString&) override { return {}; }
};

int fail(const QString& text) {
    QTextStream(stderr) << "zelvor-page-gallery: " << text << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::setUpApplication();
    const QStringList arguments = QApplication::arguments();
    bool languageOk = true;
    const int language = arguments.size() > 2 ? arguments[2].toInt(&languageOk) : 0;
    if (arguments.size() < 2 || arguments.size() > 3 || !languageOk || language < 0 ||
        language > 3) {
        QTextStream(stderr) << "usage: zelvor-page-gallery OUTPUT_FOLDER [LANGUAGE 0..3]\n";
        return 2;
    }
    const QDir out(arguments[1]);
    if (!QDir().mkpath(out.path())) return fail(QStringLiteral("cannot make %1").arg(out.path()));

    std::string error;
    std::optional<gallery::DemonstrationUnit> unit =
        gallery::DemonstrationUnit::create(kRideMoment, error);
    if (!unit) return fail(QString::fromStdString(error));

    // Settings of its own, so the pictures never depend on (or change) the
    // settings of whoever builds them.
    QTemporaryDir settings;
    if (!settings.isValid()) return fail(QStringLiteral("no temporary folder for the settings"));
    app::StartOptions options;
    options.language = static_cast<std::uint8_t>(language);
    options.portDevice = unit->devicePath();
    app::TFormHlav window(options, app::SettingsPaths{settings.path().toStdString()},
                          std::make_unique<UnattendedDialogs>());
    // The gallery gives the ticks, each after an answer is on the line.
    window.tickTimer().stop();
    window.show();

    const auto settle = [&] {
        for (int i = 0; i < kSettlingTicks; ++i) {
            if (!unit->answer(window.image())) return false;
            window.Timer1Timer();
            QApplication::processEvents();
        }
        return true;
    };
    const auto save = [&](QWidget* widget, const QString& name) {
        if (!settle()) return fail(QStringLiteral("the line to the window failed"));
        const QString path = out.filePath(name);
        if (!widget->grab().save(path)) return fail(QStringLiteral("cannot write %1").arg(path));
        return 0;
    };

    QTabWidget* pages = window.pageControl();
    for (int page = 0; page < editing::kPageCount; ++page) {
        const char* name = widgets::kPageNames[page];
        const int tab = pages->indexOf(window.controls().find<QWidget>(name));
        if (tab < 0) return fail(QStringLiteral("the window has no page %1").arg(name));
        pages->setCurrentIndex(tab);
        const QString file =
            QStringLiteral("page%1_%2.png").arg(page, 2, 10, QLatin1Char('0')).arg(name);
        if (const int failed = save(pages, file)) return failed;
    }
    // The whole window on the advance map, the page a tuner works on most.
    pages->setCurrentIndex(pages->indexOf(window.controls().find<QWidget>(widgets::kPageNames[1])));
    return save(&window, QStringLiteral("window.png"));
}
