#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QTimer>

#include <chrono>

namespace vorlie {

// Tells a line worded from the clock ("5 min. ago") when to word itself
// again: as it comes into view, then once a minute while it stays there.
// Never while it is hidden, so a widget nobody sees costs no wake-ups.
class WordingClock : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool inView READ inView WRITE setInView NOTIFY inViewChanged)

public:
    explicit WordingClock(QObject *parent = nullptr, std::chrono::milliseconds every = std::chrono::minutes(1));

    bool inView() const { return m_every.isActive(); }
    void setInView(bool inView);

signals:
    void inViewChanged();
    void wordingDue();

private:
    QTimer m_every;
};

} // namespace vorlie
