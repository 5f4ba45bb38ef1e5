#include "app/port_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "link/posix_serial_port.h"

namespace zelvor::app {

PortController::PortController(link::SerialPort& port, QMenu* comMenu,
                               std::function<void(const QString&)> showMessage, QObject* parent)
    : QObject(parent), port_(port), showMessage_(std::move(showMessage)) {
    for (int i = 0; i < link::PortMap::kPortCount; ++i) {
        auto* item = comMenu->addAction(QStringLiteral("Com %1").arg(i + 1));
        item->setObjectName(QStringLiteral("MenuCom%1").arg(i + 1));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, i] { emit portChosen(i); });
        items_ << item;
    }
    overrideSeparator_ = comMenu->addSeparator();
    overrideItem_ = comMenu->addAction(QString());
    overrideItem_->setObjectName(QStringLiteral("MenuComDevice"));
    overrideItem_->setCheckable(true);
    connect(overrideItem_, &QAction::triggered, this, [this] { emit overrideChosen(); });
    setDeviceOverride(std::nullopt);
    setPortOverrides(map_);
}

void PortController::setDeviceOverride(std::optional<std::string> device, const QString& caption) {
    deviceOverride_ = std::move(device);
    overrideInUse_ = deviceOverride_.has_value();
    const QString path = QString::fromStdString(deviceOverride_.value_or(std::string()));
    overrideItem_->setText(caption.isEmpty() ? path : caption);
    overrideItem_->setToolTip(path);
    overrideItem_->setStatusTip(path);
    overrideItem_->setVisible(deviceOverride_.has_value());
    overrideSeparator_->setVisible(deviceOverride_.has_value());
}

void PortController::useDeviceOverride(bool use) {
    overrideInUse_ = use;
}

void PortController::setPortOverrides(const link::PortMap& map) {
    map_ = map;
    for (int i = 0; i < items_.size(); ++i) {
        const QString device = QString::fromStdString(map_.devicePath(i));
        items_[i]->setToolTip(device);
        items_[i]->setStatusTip(QStringLiteral("%1: %2").arg(
            QString::fromStdString(link::PortMap::displayName(i)), device));
    }
}

std::string PortController::devicePath(std::uint8_t portIndex) const {
    return usingDeviceOverride() ? *deviceOverride_ : map_.devicePath(portIndex);
}

void PortController::open(std::uint8_t portIndex, const QString& openErrorText) {
    port_.close();
    const std::string device = devicePath(portIndex);
    if (!port_.open(device)) {
        QString text = openErrorText + QStringLiteral("\n") + QString::fromStdString(device);
        if (auto* posix = dynamic_cast<link::PosixSerialPort*>(&port_)) {
            const std::string reason = posix->lastReason();
            if (!reason.empty()) text += QStringLiteral(": ") + QString::fromStdString(reason);
        }
        showMessage_(text);
    }
    markDeviceInUse(portIndex);
}

void PortController::markDeviceInUse(std::uint8_t portIndex) {
    const bool override = usingDeviceOverride();
    for (int i = 0; i < items_.size(); ++i) items_[i]->setChecked(!override && i == portIndex);
    overrideItem_->setChecked(override);
}

}  // namespace zelvor::app
