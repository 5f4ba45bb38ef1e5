#include "editing/widgets/control_registry.h"

#include <array>
#include <charconv>

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
    // Control names are ASCII and looked up thousands of times at start-up:
    // the key is laid out in one allocation, without a conversion.
    std::array<char, 16> suffix{};
    std::size_t suffixLength = 0;
    if (element >= 0) {
        suffix[0] = '[';
        const auto written =
            std::to_chars(suffix.data() + 1, suffix.data() + suffix.size() - 1, element);
        *written.ptr = ']';
        suffixLength = static_cast<std::size_t>(written.ptr - suffix.data()) + 1;
    }
    QString key(static_cast<qsizetype>(name.size() + suffixLength), Qt::Uninitialized);
    QChar* out = key.data();
    for (const char c : name) *out++ = QLatin1Char(c);
    for (std::size_t i = 0; i < suffixLength; ++i) *out++ = QLatin1Char(suffix[i]);
    return key;
}

}  // namespace zelvor::widgets
