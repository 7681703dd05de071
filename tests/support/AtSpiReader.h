#pragma once

#include <QDBusConnection>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

namespace vorlie::testing {

// What a screen reader learns of one accessible object over AT-SPI.
struct AtSpiNode {
    // The roles and states this suite looks at, numbered as AT-SPI numbers them.
    enum Role : unsigned { alert = 2, checkBox = 7, comboBox = 11, passwordText = 40, text = 61 };
    enum State : unsigned { checked = 4, focused = 12, showing = 25, visible = 30 };

    unsigned role = 0;
    QString roleName; // Qt's name for its own role, for messages
    QString name;
    QString description;
    QList<unsigned> stateWords; // AT-SPI's state set: two 32-bit words
    std::optional<QString> content; // only for objects that offer the Text interface
    qsizetype parent = -1; // its parent's place in the list it came in, if it is there
    QString path; // where it is on this application's connection

    bool has(State state) const
    {
        return stateWords.size() > int(state / 32) && (stateWords.at(int(state / 32)) >> (state % 32) & 1u);
    }
};

// An application's accessibility tree read the way assistive technology
// reads it: from another connection on the session's accessibility bus,
// finding the application through the AT-SPI registry. Starts the bus, as a
// desktop session does, when the session bus has none; an application joins
// only a bus that is there when it starts.
class AtSpiReader {
public:
    // The application `program` runs once it has started, or this process's.
    explicit AtSpiReader(const QProcess *program = nullptr);
    ~AtSpiReader();
    Q_DISABLE_COPY_MOVE(AtSpiReader)

    // Every object below this application's root, depth first.
    QList<AtSpiNode> nodes();
    // Does the action of that name, as assistive technology would; false
    // when the object has no such action.
    bool act(const AtSpiNode &node, const QString &action);

private:
    // Whether this application is on the accessibility bus by now.
    bool found();
    void walk(const QString &path, qsizetype parent, QList<AtSpiNode> &into);

    const QProcess *m_program;
    QProcess m_launcher;
    QDBusConnection m_bus{QString()};
    QString m_service; // this application's name on the accessibility bus
};

} // namespace vorlie::testing
