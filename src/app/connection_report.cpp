#include "app/connection_report.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvor::app {

ConnectionReportDialog::ConnectionReportDialog(QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)), copy_(new QPushButton(this)) {
    setObjectName(QStringLiteral("DialogConnectionReport"));
    text_->setObjectName(QStringLiteral("TextConnectionReport"));
    text_->setReadOnly(true);
    // The report lines up remedies and commands by their indent.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    copy_->setObjectName(QStringLiteral("ButtonCopyReport"));
    copy_->setText(tr("&Copy"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(copy_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text_->toPlainText()); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    const QFontMetrics metrics(text_->font());
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 100, metrics.lineSpacing() * 30);
}

void ConnectionReportDialog::setReport(const QString& title, const QString& report) {
    setWindowTitle(title);
    text_->setPlainText(report);
}

QString ConnectionReportDialog::report() const {
    return text_->toPlainText();
}

}  // namespace zelvor::app
