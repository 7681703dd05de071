#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <optional>

namespace vorlie {

// Symbol names used by the screens, the tray and the widget, drawn as
// glyphs of the Material Icons font.
class Symbols : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString family READ family CONSTANT)

public:
    using QObject::QObject;

    static Symbols *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    static QString family() { return QStringLiteral("Material Icons"); }
    // The glyph's code point; none for a name the table does not know.
    static std::optional<char32_t> codePoint(QStringView symbolName);
    // Every name of the table.
    static QStringList names();

    // The glyph as text, empty for an unknown name.
    Q_INVOKABLE static QString glyph(const QString &symbolName);
};

} // namespace vorlie
