#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "app/dialogs.h"

namespace zelvor::testing {

// Answers the window's boxes and dialogs from a script and records every
// message shown, so tests run without anyone clicking.
class ScriptedDialogs final : public app::Dialogs {
  public:
    struct Script {
        std::deque<Answer> answers;  // for askYesNoCancel; Cancel when empty
        std::deque<QString> openNames;
        std::deque<QString> saveNames;
        std::deque<QString> printNames;  // for savePrintFile; cancelled when empty
        QStringList messages;            // shown so far
        QStringList questions;
        QStringList proposedPrintNames;    // what savePrintFile proposed
        std::deque<QStringList> logNames;  // for openRideLogs; cancelled when empty
    };

    explicit ScriptedDialogs(Script& script) : script_(script) {}

    void message(const QString& text) override { script_.messages << text; }
    Answer askYesNoCancel(const QString& text) override {
        script_.questions << text;
        if (script_.answers.empty()) return Answer::Cancel;
        const Answer a = script_.answers.front();
        script_.answers.pop_front();
        return a;
    }
    QString openParameterFile(const QString&, const QString&) override {
        return take(script_.openNames);
    }
    QString saveParameterFile(const QString&, const QString&) override {
        return take(script_.saveNames);
    }
    QString savePrintFile(const QString&, const QString& proposedName) override {
        script_.proposedPrintNames << proposedName;
        return take(script_.printNames);
    }

    QString openRideLog(const QString&) override {
        if (script_.logNames.empty() || script_.logNames.front().isEmpty()) return {};
        QStringList names = script_.logNames.front();
        script_.logNames.pop_front();
        return names.front();
    }
    QStringList openRideLogs(const QString&) override {
        if (script_.logNames.empty()) return {};
        QStringList names = script_.logNames.front();
        script_.logNames.pop_front();
        return names;
    }

  private:
    static QString take(std::deque<QString>& names) {
        if (names.empty()) return {};
        QString n = names.front();
        names.pop_front();
        return n;
    }

    Script& script_;
};

}  // namespace zelvor::testing
