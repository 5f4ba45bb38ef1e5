#include "editing/widgets/control_registry.h"

namespace zelvor::widgets {

void ControlRegistry::addKey(const QString& key, QObject* object) {
    if (object->objectName().isEmpty()) object->setObjectName(key);
    objects_.insert(key, object);
}

QObject* ControlRegistry::lookUp(const QString& key) const {
    const auto it = objects_.constFind(key);
    return it == objects_.constEnd() ? nullptr : it->data();
}

QObject* ControlRegistry::objectByKey(const QString& key) const {
    if (!objects_.contains(key)) qWarning("Control registry: no control named %s", qPrintable(key));
    return lookUp(key);
}

QString ControlRegistry::elementName(std::string_view name, int element) {
    QString result = toQString(name);
    if (element >= 0) result += QLatin1Char('[') + QString::number(element) + QLatin1Char(']');
    return result;
}

}  // namespace zelvor::widgets
