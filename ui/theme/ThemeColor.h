#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QQmlEngine>

namespace vorlie {

class Appearance;

// The colours every screen draws with. Platform colours come from the
// application palette while it matches the desktop's light or dark choice;
// when the desktop asks for the other scheme than the palette has (no
// platform theme), a built-in set of the same roles stands in.
class ThemeColor : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ dark NOTIFY changed)
    Q_PROPERTY(QColor accent READ accent NOTIFY changed)
    Q_PROPERTY(QColor accentContrast READ accentContrast NOTIFY changed)
    Q_PROPERTY(QColor brandDark READ brandDark CONSTANT)
    Q_PROPERTY(QColor brandText READ brandText NOTIFY changed)
    Q_PROPERTY(QColor primaryText READ primaryText NOTIFY changed)
    Q_PROPERTY(QColor secondaryText READ secondaryText NOTIFY changed)
    Q_PROPERTY(QColor windowBackground READ windowBackground NOTIFY changed)
    Q_PROPERTY(QColor cardBackground READ cardBackground NOTIFY changed)
    Q_PROPERTY(QColor separator READ separator NOTIFY changed)
    Q_PROPERTY(QColor positive READ positive NOTIFY changed)
    Q_PROPERTY(QColor warning READ warning NOTIFY changed)
    Q_PROPERTY(QColor pink READ pink NOTIFY changed)
    Q_PROPERTY(QColor orange READ orange NOTIFY changed)
    Q_PROPERTY(QColor yellow READ yellow NOTIFY changed)
    Q_PROPERTY(QColor blue READ blue NOTIFY changed)

public:
    explicit ThemeColor(Appearance &appearance, QObject *parent = nullptr);

    static ThemeColor *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // "24332A" → sRGB, opacity 1.
    static QColor fromHex(QStringView sixDigits);

    bool dark() const { return m_dark; }
    QColor accent() const;
    QColor accentContrast() const;
    QColor brandDark() const;
    // The product name's colour: brandDark, lifted so it reads on dark backgrounds.
    QColor brandText() const;
    QColor primaryText() const;
    QColor secondaryText() const;
    QColor windowBackground() const;
    QColor cardBackground() const;
    QColor separator() const;
    QColor positive() const;
    QColor warning() const;
    QColor pink() const;
    QColor orange() const;
    QColor yellow() const;
    QColor blue() const;

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();
    QColor pick(QColor light, QColor dark) const { return m_dark ? dark : light; }

    Appearance &m_appearance;
    bool m_dark = false;
    bool m_usePalette = true;
    QPalette m_palette;
};

} // namespace vorlie
