// Com > Check connection: the connection doctor on the chosen Com row's
// device, its report in a window of its own.
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <sstream>

#include "app/main_window.h"
#include "doctor/doctor_report.h"

namespace zelvor::app {

namespace {

// Puts the wait cursor up for as long as it lives.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

void TFormHlav::MenuCheckConnectionClick() {
    const std::string device = ports_->devicePath(outside_.portIndex);
    // The window holds the port exclusively: the live test can open it only
    // once the window has let go. A transfer cannot go on without it.
    stopTransfer();
    const bool wasOpen = port_.isOpen();
    ports_->close();

    doctor::DoctorRequest request;
    request.user = doctor::UserIdentity::current();
    request.self = ::getpid();
    request.port = device;
    request.devicesAtStart = devicesAtStart_;
    std::ostringstream report;
    {
        const WaitCursor wait;
        doctor::runDoctor(request, report);
    }
    // Only a port that was open is opened again: one that failed to open
    // has said so already, and the report tells why.
    if (wasOpen) ports_->open(outside_.portIndex, message(i18n::MessageKey::MsgComOpenError));
    updateLinkDisplay();

    if (connectionReport_ == nullptr) {
        connectionReport_ = new ConnectionReportDialog(this);
        // Closed by Escape or Close, the report hands the keyboard back to
        // the main window (without a window manager nobody else would).
        connect(connectionReport_, &QDialog::finished, this, [this] { activateWindow(); });
    }
    QString title;
    if (auto* item = registry_.find<QAction>("MenuCheckConnection")) title = item->text();
    title.remove(QLatin1Char('&'));
    if (title.endsWith(QChar(0x2026))) title.chop(1);
    connectionReport_->setReport(title + QStringLiteral(": ") + QString::fromStdString(device),
                                 QString::fromStdString(report.str()));
    connectionReport_->show();
    connectionReport_->raise();
    connectionReport_->activateWindow();
}

}  // namespace zelvor::app
