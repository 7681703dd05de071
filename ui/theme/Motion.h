#pragma once

#include <QObject>
#include <QQmlEngine>

namespace vorlie {

class Appearance;

// Whether the screens may animate: off when the desktop asks for reduced
// motion.
class Motion : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY reduceMotionChanged)

public:
    explicit Motion(Appearance &appearance, QObject *parent = nullptr);

    static Motion *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    bool reduceMotion() const;

signals:
    void reduceMotionChanged();

private:
    Appearance &m_appearance;
};

} // namespace vorlie
