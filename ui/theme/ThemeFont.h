#pragma once

#include <QFont>
#include <QObject>
#include <QQmlEngine>

namespace vorlie {

// The text styles of the screens, in one table. Sizes are in logical pixels
// (the points the layouts are drawn in), on a rounded face; `display` asks
// for "Gadey" first and falls back to the rounded face when it is absent.
class ThemeFont : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QFont display READ display CONSTANT)
    Q_PROPERTY(QFont title READ title CONSTANT)
    Q_PROPERTY(QFont headline READ headline CONSTANT)
    Q_PROPERTY(QFont subheadline READ subheadline CONSTANT)
    Q_PROPERTY(QFont footnote READ footnote CONSTANT)
    Q_PROPERTY(QFont body READ body CONSTANT)
    Q_PROPERTY(QFont caption READ caption CONSTANT)
    Q_PROPERTY(QString roundedFamily READ roundedFamily CONSTANT)
    Q_PROPERTY(QString emojiFamily READ emojiFamily CONSTANT)

public:
    enum class Style { display, title, headline, subheadline, footnote, body, caption };

    explicit ThemeFont(QObject *parent = nullptr);

    static ThemeFont *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    static QFont font(Style style);
    static QString roundedFamily();
    static QString emojiFamily() { return QStringLiteral("Noto Color Emoji"); }

    QFont display() const { return m_fonts[int(Style::display)]; }
    QFont title() const { return m_fonts[int(Style::title)]; }
    QFont headline() const { return m_fonts[int(Style::headline)]; }
    QFont subheadline() const { return m_fonts[int(Style::subheadline)]; }
    QFont footnote() const { return m_fonts[int(Style::footnote)]; }
    QFont body() const { return m_fonts[int(Style::body)]; }
    QFont caption() const { return m_fonts[int(Style::caption)]; }

private:
    QFont m_fonts[7];
};

} // namespace vorlie
