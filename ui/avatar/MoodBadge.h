#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QString>

namespace vorlie {

// The mood badge's rules for QML: which symbol a mood shows and which named
// theme colour tints it. Moods are passed as their raw values ("happy"); an
// unknown one shows no badge.
class MoodBadge : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    static MoodBadge *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The symbol name, empty for a mood without a badge.
    Q_INVOKABLE static QString symbol(const QString &visualState);
    // The name of a ThemeColor property: "accent", "pink", "orange", "yellow" or "blue".
    Q_INVOKABLE static QString tint(const QString &visualState);
};

} // namespace vorlie
