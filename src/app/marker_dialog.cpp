#include "app/marker_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/widgets/tool_text.h"

namespace zelvor::app {

MarkerDialog::MarkerDialog(const QString& plainMarker, i18n::Language language, QWidget* parent)
    : QDialog(parent), plain_(plainMarker), comment_(new QLineEdit(this)) {
    using T = i18n::ToolText;
    const auto text = [language](T key) { return widgets::qToolText(key, language); };
    setObjectName(QStringLiteral("MarkerDialog"));
    setWindowTitle(text(T::MarkerTitle).arg(plainMarker));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    comment_->setObjectName(QStringLiteral("MarkerComment"));
    comment_->setPlaceholderText(text(T::MarkerComment));
    comment_->setMaxLength(200);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(text(T::MarkerNoComment));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text(T::MarkerHelp), this));
    layout->addWidget(comment_);
    layout->addWidget(buttons);
}

QString MarkerDialog::markerText() const {
    const QString comment = comment_->text().simplified();
    if (result() != QDialog::Accepted || comment.isEmpty()) return plain_;
    return comment;
}

}  // namespace zelvor::app
