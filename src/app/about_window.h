#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;

namespace zelvor::app {

// The About window: a picture, the maker's details and the date and time
// the program was built. It is created once, hidden, and shown modally from
// the Help menu; its title follows the language each time it is shown.
class TFormAbout : public QDialog {
    Q_OBJECT
  public:
    TFormAbout(std::function<std::uint8_t()> language, QWidget* parent = nullptr);

    // "Oct 25 2007" and "15:43:18" from the compiler's build stamp.
    static QString buildDate();
    static QString buildTime();

  protected:
    void showEvent(QShowEvent* event) override;  // the activation step: title by language

  private:
    void FormCreate();
    void FormActivate();
    void Button1Click() { close(); }

    std::function<std::uint8_t()> language_;
};

}  // namespace zelvor::app
