#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zelvor::app {

// The connection doctor's report in a fixed-width, read-only text that the
// tuner can copy whole (for a forum post or a mail to his dealer).
class ConnectionReportDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ConnectionReportDialog(QWidget* parent = nullptr);

    void setReport(const QString& title, const QString& report);
    QString report() const;
    QPlainTextEdit* textView() const { return text_; }
    QPushButton* copyButton() const { return copy_; }

  private:
    QPlainTextEdit* text_;
    QPushButton* copy_;
};

}  // namespace zelvor::app
