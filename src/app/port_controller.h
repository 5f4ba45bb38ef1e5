#pragma once

#include <QList>
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "link/port_map.h"
#include "link/serial_port.h"

class QAction;
class QMenu;

namespace zelvor::app {

// The serial port as the window uses it: which device stands behind the
// chosen COM index (or the device given for this run), opening with a
// message when that fails, and the Com menu with its check mark.
class PortController : public QObject {
    Q_OBJECT
  public:
    PortController(link::SerialPort& port, QMenu* comMenu,
                   std::function<void(const QString&)> showMessage, QObject* parent = nullptr);

    // Rows of the settings file's PORTS section.
    void setPortOverrides(const link::PortMap& map);
    // A device used instead of the mapping for this run (--port, --simulate),
    // named by an extra item below the Com items. Setting one also uses it.
    void setDeviceOverride(std::optional<std::string> device, const QString& caption = {});
    // Whether the next open takes the device given for this run (its item
    // was chosen last) or the Com item's device (a Com item was).
    void useDeviceOverride(bool use);
    bool usingDeviceOverride() const { return deviceOverride_.has_value() && overrideInUse_; }

    // Opens the port of the index; on failure shows the message (with the
    // device and the system's reason) and leaves the port closed. Then the
    // check mark moves to the index.
    void open(std::uint8_t portIndex, const QString& openErrorText);
    void close() { port_.close(); }

    std::string devicePath(std::uint8_t portIndex) const;
    const QList<QAction*>& items() const { return items_; }
    QAction* overrideItem() const { return overrideItem_; }

  signals:
    // The user picked Com index i in the menu.
    void portChosen(int index);
    // The user picked the item of the device given for this run.
    void overrideChosen();

  private:
    // The check mark on the item of the device in use.
    void markDeviceInUse(std::uint8_t portIndex);

    link::SerialPort& port_;
    QList<QAction*> items_;
    std::function<void(const QString&)> showMessage_;
    link::PortMap map_;
    std::optional<std::string> deviceOverride_;
    bool overrideInUse_ = false;
    QAction* overrideItem_ = nullptr;
    QAction* overrideSeparator_ = nullptr;
};

}  // namespace zelvor::app
