#pragma once

#include <QColor>
#include <QWidget>

#include "editing/colour.h"

class QProgressBar;

namespace zelvor::widgets {

// The RGB value of a meaningful colour; ButtonFace and Window follow the
// application palette.
QColor toQColor(editing::Colour colour);

// Background of a label (window role) or an edit (base role). The colour is
// applied only when it differs from the last one set, so a tick that
// re-applies the same colours repaints nothing.
void setBackground(QWidget* widget, editing::Colour colour);
editing::Colour currentBackground(const QWidget* widget);

// Fore (bar) colour of a gauge, likewise applied only on change.
void setGaugeColour(QProgressBar* gauge, editing::Colour colour);

// Progress of a gauge, limited to its range, set only on change.
void setGaugeProgress(QProgressBar* gauge, int progress);

// Text of a label, set only on change.
void setLabelText(QWidget* label, const QString& text);

}  // namespace zelvor::widgets
