#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <string_view>

namespace zelvor::widgets {

// Finds the window's controls by the names the rest of the program uses
// ("EditFan1", "UpDownKorVoda[2]", "LabelMonFan1", "MenuRead"). An element of
// a run-time control array is registered as name[index]. An edit and its
// spinner are one widget here, so both names lead to it.
class ControlRegistry {
  public:
    void add(std::string_view name, QObject* object) { addKey(elementName(name, -1), object); }
    void add(std::string_view name, int element, QObject* object) {
        addKey(elementName(name, element), object);
    }

    // A control the caller expects to exist. A name that is not registered
    // is reported as a warning ("Control registry: no control named ...",
    // which the window tests turn into a failure) and gives nullptr.
    QObject* object(std::string_view name, int element = -1) const {
        return objectByKey(elementName(name, element));
    }
    template <typename T>
    T* find(std::string_view name, int element = -1) const {
        return qobject_cast<T*>(object(name, element));
    }
    // A control that may not have been built (a text table covers controls
    // of every page, a test may build only some): nullptr without a word.
    QObject* objectIfAny(std::string_view name, int element = -1) const {
        return lookUp(elementName(name, element));
    }

    // The same by the full key ("UpDownKorVoda[2]").
    void addKey(const QString& key, QObject* object);
    QObject* objectByKey(const QString& key) const;

    // Every registered name, for checks that each expected control exists.
    QStringList names() const { return objects_.keys(); }

    static QString elementName(std::string_view name, int element);
    static QString toQString(std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }

  private:
    QObject* lookUp(const QString& key) const;

    QHash<QString, QPointer<QObject>> objects_;
};

}  // namespace zelvor::widgets
