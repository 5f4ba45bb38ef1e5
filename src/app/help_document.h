#pragma once

#include <QString>
#include <functional>

namespace zelvor::app {

// Where the help document of a language is: beside the executable first,
// then in the installed data folder (<prefix>/share/zelvor/). Empty when it
// is in neither.
QString findHelpDocument(const QString& fileName);

// Opens a document with the viewer the desktop associates with it; false
// when it cannot.
using DocumentOpener = std::function<bool(const QString& path)>;
DocumentOpener systemDocumentOpener();

}  // namespace zelvor::app
