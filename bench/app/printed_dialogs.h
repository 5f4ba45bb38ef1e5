#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

#include "app/dialogs.h"

namespace zelvor::bench {

// The window's boxes for the timing programs: messages go to the error
// output, questions are cancelled and file dialogs chosen nothing.
class PrintedDialogs final : public app::Dialogs {
  public:
    void message(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    Answer askYesNoCancel(const QString&) override { return Answer::Cancel; }
    QString openParameterFile(const QString&, const QString&) override { return {}; }
    QString saveParameterFile(const QString&, const QString&) override { return {}; }
    QString savePrintFile(const QString&, const QString&) override { return {}; }
    QStringList openRideLogs(const QString&) override { return {}; }
    QString openRideLog(const QString&) override { return {}; }
};

}  // namespace zelvor::bench
