#pragma once

#include <QImage>
#include <QProcess>
#include <QString>

namespace vorlie::testing {

// For QProcess::setChildProcessModifier: the child ends when the test does.
void endWithParent();

// An X server of the test's own (Xvfb), its screen as pixels, and a pointer
// driven from outside like a user's.
class XDisplay {
public:
    XDisplay();
    ~XDisplay();

    bool isRunning() const { return !m_name.isEmpty(); }
    // ":N".
    QString name() const { return m_name; }
    // The whole screen, as a client sees it; null when it cannot be read.
    QImage capture() const;
    // Runs xdotool with these arguments on this display.
    bool pointer(const QStringList &arguments) const;

private:
    QProcess m_server;
    QString m_name;
};

} // namespace vorlie::testing
