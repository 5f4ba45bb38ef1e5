#include "app/about_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace zelvor::app {

namespace {

// A label that closes the window when clicked, like a button.
class ClickLabel : public QLabel {
  public:
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> clicked)
        : QLabel(text, parent), clicked_(std::move(clicked)) {
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) clicked_();
    }

  private:
    std::function<void()> clicked_;
};

QLabel* blackLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                   int pixelHeight) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setPixelSize(pixelHeight);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: black;"));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// The picture of the About window: the program's name on a road-grey plate.
QPixmap logo() {
    QPixmap picture(161, 81);
    picture.fill(QColor(0x30, 0x34, 0x38));
    QPainter painter(&picture);
    painter.setPen(QPen(QColor(0xF0, 0xC0, 0x20), 3));
    painter.drawLine(8, 64, 153, 64);
    QFont font = painter.font();
    font.setPixelSize(30);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 8, 161, 50), Qt::AlignCenter, QStringLiteral("ZELVOR"));
    return picture;
}

}  // namespace

TFormAbout::TFormAbout(std::function<std::uint8_t()> language, QWidget* parent)
    : QDialog(parent), language_(std::move(language)) {
    setObjectName(QStringLiteral("TFormAbout"));
    setWindowTitle(QStringLiteral("About Zelvor"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(281, 402);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(logo());
    image->setGeometry(32, 24, 161, 81);
    blackLabel(this, "Label2", QStringLiteral("Zelvor Tuner"), 32, 132, 16);
    blackLabel(this, "Label3", QStringLiteral("Zelvor Engineering"), 32, 157, 16);
    blackLabel(this, "Label4", QStringLiteral("Ringstrasse 12"), 32, 182, 16);
    blackLabel(this, "Label5", QStringLiteral("600 00 Brno"), 32, 207, 16);
    blackLabel(this, "Label9", QStringLiteral("support@zelvor.example"), 32, 243, 16);
    blackLabel(this, "Label10", QStringLiteral("www.zelvor.example"), 32, 268, 16);
    blackLabel(this, "LabelDate", QString(), 32, 313, 11);
    blackLabel(this, "LabelTime", QString(), 32, 335, 11);
    auto* exit = new ClickLabel(QStringLiteral("OK"), this, [this] { Button1Click(); });
    exit->setObjectName(QStringLiteral("LabelExit"));
    QFont font = exit->font();
    font.setPixelSize(23);
    exit->setFont(font);
    exit->setStyleSheet(QStringLiteral("color: black;"));
    exit->move(216, 320);
    exit->adjustSize();
    FormCreate();
}

QString TFormAbout::buildDate() {
    // __DATE__ pads a one-digit day with a blank ("Dec  9 2026").
    return QString::fromLatin1(__DATE__).simplified();
}

QString TFormAbout::buildTime() {
    return QString::fromLatin1(__TIME__);
}

void TFormAbout::FormCreate() {
    if (auto* date = findChild<QLabel*>(QStringLiteral("LabelDate"))) {
        date->setText(buildDate());
        date->adjustSize();
    }
    if (auto* time = findChild<QLabel*>(QStringLiteral("LabelTime"))) {
        time->setText(buildTime());
        time->adjustSize();
    }
    // Centred once; later screen changes do not move it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
}

void TFormAbout::showEvent(QShowEvent* event) {
    FormActivate();
    QDialog::showEvent(event);
}

void TFormAbout::FormActivate() {
    switch (language_ ? language_() : 0) {
        case 0:
            setWindowTitle(QStringLiteral("About Zelvor"));
            break;
        case 1:
            setWindowTitle(QStringLiteral("Über Programm Zelvor"));
            break;
        case 3:
            setWindowTitle(QStringLiteral("O programu Zelvor"));
            break;
        default:
            break;  // French keeps the title it has
    }
}

}  // namespace zelvor::app
