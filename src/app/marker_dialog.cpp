#include "app/marker_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvor::app {

MarkerDialog::MarkerDialog(const QString& plainMarker, QWidget* parent)
    : QDialog(parent), plain_(plainMarker), comment_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("MarkerDialog"));
    setWindowTitle(QStringLiteral("Marker %1").arg(plainMarker));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    comment_->setObjectName(QStringLiteral("MarkerComment"));
    comment_->setPlaceholderText(QStringLiteral("Comment (optional)"));
    comment_->setMaxLength(200);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("No comment"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Enter sets the marker with this comment, Esc without."), this));
    layout->addWidget(comment_);
    layout->addWidget(buttons);
}

QString MarkerDialog::markerText() const {
    const QString comment = comment_->text().simplified();
    if (result() != QDialog::Accepted || comment.isEmpty()) return plain_;
    return comment;
}

}  // namespace zelvor::app
