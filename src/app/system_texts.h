#pragma once

#include <QTranslator>

#include "editing/code_page.h"
#include "i18n/language.h"

namespace zelvor::app {

// Qt's own texts (the standard buttons of message boxes, the file dialogs)
// in the window language: Qt's translation catalogue "qtbase_<language>"
// from Qt's translations folder is installed for German, French and Czech,
// none for English. A missing catalogue leaves Qt's English texts.
class QtStandardTexts {
  public:
    QtStandardTexts() = default;
    ~QtStandardTexts();
    QtStandardTexts(const QtStandardTexts&) = delete;
    QtStandardTexts& operator=(const QtStandardTexts&) = delete;

    // True when Qt's texts are now those of the language.
    bool apply(i18n::Language language);

  private:
    QTranslator translator_;
    bool installed_ = false;
};

// Names the program ("Zelvor Tuner", the title of its message boxes) and
// gives it its look. No application display name is set: the platform would
// append it to every window title.
void setUpApplication();

// The code page the system locale writes in (see editing::defaultCodePage).
editing::CodePage systemMemoCodePage();

}  // namespace zelvor::app
