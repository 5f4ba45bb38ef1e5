#pragma once

#include <QString>
#include <QStringList>

#include "editing/widgets/tool_text.h"

class QWidget;

namespace zelvor::app {

// Modal message boxes and file dialogs, behind an interface so that tests can
// answer them from a script. File dialogs return an empty string when the
// user cancels.
class Dialogs {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Dialogs() = default;

    virtual void message(const QString& text) = 0;
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // The open dialog of parameter files ("*.ign" and all files).
    virtual QString openParameterFile(const QString& folder, const QString& proposedName) = 0;
    // The save dialog of parameter files: "*.ign", default suffix "ign",
    // asks before overwriting.
    virtual QString saveParameterFile(const QString& folder, const QString& proposedName) = 0;
    // The save dialog of a printout as a PDF file: "*.pdf", default suffix
    // "pdf", asks before overwriting.
    virtual QString savePrintFile(const QString& folder, const QString& proposedName) = 0;
    // The open dialog of ride logs ("*.csv"), more than one may be chosen;
    // empty when cancelled.
    virtual QStringList openRideLogs(const QString& folder) = 0;
    // The open dialog of one ride log; empty when cancelled.
    virtual QString openRideLog(const QString& folder) = 0;
    // The language of the texts the dialogs add (titles, filters).
    virtual void setLanguage(i18n::Language) {}
};

// The real boxes and dialogs, modal to the main window.
class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void message(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
    QString openParameterFile(const QString& folder, const QString& proposedName) override;
    QString saveParameterFile(const QString& folder, const QString& proposedName) override;
    QString savePrintFile(const QString& folder, const QString& proposedName) override;
    QStringList openRideLogs(const QString& folder) override;
    QString openRideLog(const QString& folder) override;
    void setLanguage(i18n::Language language) override { said_.change(language); }

  private:
    QWidget* parent_;
    widgets::ToolLanguage said_;
};

}  // namespace zelvor::app
