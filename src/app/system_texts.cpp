#include "app/system_texts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <array>

#include "editing/widgets/pages.h"

namespace zelvor::app {

namespace {

// Qt's name of each window language; English needs no catalogue.
constexpr std::array<const char*, i18n::kLanguageCount> kQtLanguages = {nullptr, "de", "fr", "cs"};

}  // namespace

QtStandardTexts::~QtStandardTexts() {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

bool QtStandardTexts::apply(i18n::Language language) {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
    }
    const auto index = static_cast<std::size_t>(language);
    const char* name = index < kQtLanguages.size() ? kQtLanguages[index] : nullptr;
    if (name == nullptr) return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator_.load(QStringLiteral("qtbase_") + QLatin1String(name), folder)) return false;
    installed_ = QCoreApplication::installTranslator(&translator_);
    return installed_;
}

void setUpApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Zelvor Tuner"));
    // The desktop entry and icon of the installed package: the desktop shows
    // them for the window (none when running from a build).
    QGuiApplication::setDesktopFileName(QStringLiteral("zelvor"));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zelvor")));
    widgets::applyApplicationLook();
}

editing::CodePage systemMemoCodePage() {
    return editing::defaultCodePage(QLocale::system().name().toStdString());
}

}  // namespace zelvor::app
