// The help documents built beside the program: one PDF per language that F1
// finds and opens, and manuals that name what the window shows in that
// language. This program is built into the program's own folder, so the
// documents are beside it exactly as they are beside the program.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <array>
#include <string_view>

#include "../support/window_fixture.h"
#include "i18n/messages.h"
#include "i18n/ui_markup.h"
#include "i18n/ui_texts.h"

using namespace zelvor;
using zelvor::testing::WindowUnderTest;

namespace {

constexpr std::array<const char*, 4> kDocuments = {"Zelvor_en.pdf", "Zelvor_de.pdf",
                                                   "Zelvor_fr.pdf", "Zelvor_cz.pdf"};
constexpr std::array<const char*, 4> kManuals = {"Zelvor_en.md", "Zelvor_de.md", "Zelvor_fr.md",
                                                 "Zelvor_cz.md"};

QString programFolder() {
    return QStringLiteral(ZELVOR_PROGRAM_DIR);
}

// The manual as a reader sees it: Markdown marks gone, blanks collapsed.
QString manualText(const char* name) {
    QFile file(QDir(QStringLiteral(ZELVOR_HELP_SOURCE_DIR)).filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(file.readAll()));
    return document.toPlainText().simplified();
}

QString shown(std::string_view text) {
    return QString::fromUtf8(i18n::stripAccelerators(text)).simplified();
}

// Captions a tuner looks for: the menus and commands, every page, the
// transfer and map options.
constexpr auto kNamedCaptions = std::to_array<std::string_view>({
    "MenuFile",           "MenuNew",          "MenuOpen",
    "MenuSave",           "MenuPrint",        "MenuCom",
    "MenuDevice",         "MenuRead",         "MenuVerify",
    "MenuProgram",        "Menu_Jet123Mode",  "Menu_Jet123Normal",
    "Menu_Jet123Coupled", "MenuTools",        "MenuZpet",
    "MenuZnovu",          "MenuLanguage",     "MenuHelp",
    "MenuContens",        "MenuAbout",        "TabSheet_Bike",
    "TabSheet_Advance",   "TabSheet_Jet1A",   "TabSheet_Jet2A",
    "TabSheet_Poloha",    "TabSheet_Korekce", "TabSheet_Cidla",
    "TabSheet_Idle",      "TabSheet_Gas",     "TabSheet_Race",
    "TabSheet_Gear",      "TabSheet_Monitor", "CheckBoxProgHned",
    "CheckBoxExtMonitor", "CheckBoxAll_Uni",  "LabelSpojeni",
    "GroupBoxOmez",       "GroupBoxSytic",    "GroupBoxAkcel",
    "GroupBoxStartJet",   "CheckBoxGas",      "LabelPilotLight",
    "LabelClutchTime",    "LabelClutchPause",
});

// Messages whose meaning the manual explains.
constexpr auto kNamedMessages = std::to_array<i18n::MessageKey>({
    i18n::MessageKey::MsgComOpenError,
    i18n::MessageKey::MsgProgramProgress,
    i18n::MessageKey::MsgVerifyProgress,
    i18n::MessageKey::MsgReadProgress,
    i18n::MessageKey::MsgProgramError,
    i18n::MessageKey::MsgVerifyError,
    i18n::MessageKey::MsgReadError,
    i18n::MessageKey::MsgSaving,
    i18n::MessageKey::MsgVersionMismatch,
    i18n::MessageKey::MsgAskDefaults,
    i18n::MessageKey::MsgOpenFileError,
    i18n::MessageKey::MsgIgnFileVersion,
    i18n::MessageKey::MsgPrintDate,
    i18n::MessageKey::MsgPrintError,
});

}  // namespace

class HelpDocumentsTest : public QObject {
    Q_OBJECT

    QTemporaryDir settings_;

  private slots:
    void everyLanguageHasAPdfBesideTheProgram() {
        for (const char* name : kDocuments) {
            QFile file(QDir(programFolder()).filePath(QString::fromLatin1(name)));
            QVERIFY2(file.open(QIODevice::ReadOnly), name);
            const QByteArray pdf = file.readAll();
            QVERIFY2(pdf.startsWith("%PDF-"), name);
            QVERIFY2(pdf.trimmed().endsWith("%%EOF"), name);  // written to the end
            // With its pictures, small enough to send by mail.
            QVERIFY2(pdf.size() > 40 * 1024 && pdf.size() < 2 * 1024 * 1024,
                     qPrintable(QStringLiteral("%1: %2 bytes").arg(name).arg(pdf.size())));
            // A manual, not a stub: the title page and the chapters.
            QVERIFY2(pdf.count("/Type /Page\n") >= 8, name);
            // The window and each of its twelve pages.
            QVERIFY2(pdf.count("/Subtype /Image") >= 13, name);
        }
    }

    void f1OpensTheDocumentOfTheLanguage() {
        QCOMPARE(QDir(QCoreApplication::applicationDirPath()).canonicalPath(),
                 QDir(programFolder()).canonicalPath());
        WindowUnderTest t(settings_.path());
        QStringList opened;
        t.window.setDocumentOpener([&](const QString& path) {
            opened << path;
            return true;
        });
        const qsizetype messages = t.script.messages.size();
        for (std::uint8_t language = 0; language < 4; ++language) {
            t.window.SetLanguage(language);
            t.window.MenuContensClick();
            QCOMPARE(opened.size(), language + 1);
            const QString expected =
                QDir(programFolder()).filePath(QString::fromLatin1(kDocuments[language]));
            QCOMPARE(QFileInfo(opened.last()).canonicalFilePath(),
                     QFileInfo(expected).canonicalFilePath());
        }
        QCOMPARE(t.script.messages.size(), messages);  // no "cannot open" on the way
    }

    void manualsNameWhatTheWindowShowsInTheirLanguage() {
        for (std::size_t index = 0; index < kManuals.size(); ++index) {
            const auto language = static_cast<i18n::Language>(index);
            const QString text = manualText(kManuals[index]);
            QVERIFY2(!text.isEmpty(), kManuals[index]);
            for (std::string_view control : kNamedCaptions) {
                const auto caption = i18n::uiText(control, i18n::UiProperty::Caption, language);
                const QString name = QString::fromUtf8(control.data(), control.size());
                QVERIFY2(caption.has_value(), qPrintable(name));
                QVERIFY2(
                    text.contains(shown(*caption)),
                    qPrintable(QStringLiteral("%1 lacks the caption of %2: \"%3\"")
                                   .arg(QLatin1String(kManuals[index]), name, shown(*caption))));
            }
            for (i18n::MessageKey key : kNamedMessages) {
                const QString message = shown(i18n::storedVariant(key, language));
                QVERIFY2(text.contains(message),
                         qPrintable(QStringLiteral("%1 lacks the message \"%2\"")
                                        .arg(QLatin1String(kManuals[index]), message)));
            }
        }
    }
};

QTEST_MAIN(HelpDocumentsTest)
#include "help_documents_test.moc"
