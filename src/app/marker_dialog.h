#pragma once

#include <QDialog>

#include "i18n/language.h"

class QLineEdit;

namespace zelvor::app {

// Asks for the comment of a marker without stopping the window: the
// recording goes on while it is open. Enter takes the comment, Escape
// leaves the marker without one.
class MarkerDialog : public QDialog {
    Q_OBJECT
  public:
    MarkerDialog(const QString& plainMarker, i18n::Language language, QWidget* parent);

    // The marker's text: the comment, or the plain marker without one (and
    // after Escape).
    QString markerText() const;

  private:
    QString plain_;
    QLineEdit* comment_;
};

}  // namespace zelvor::app
