#include "XDisplay.h"

#include <QRandomGenerator>

#include <csignal>
#include <sys/prctl.h>

namespace vorlie::testing {
namespace {

// The root window as ImageMagick's import reads it, as 8-bit PPM: no encoding to wait for.
QImage captureOf(const QString &display)
{
    QProcess import;
    import.start(QStringLiteral("import"), {QStringLiteral("-display"), display, QStringLiteral("-window"), QStringLiteral("root"),
                                            QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("ppm:-")});
    if (!import.waitForFinished(10'000) || import.exitCode() != 0)
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PPM").convertToFormat(QImage::Format_RGB32);
}

} // namespace

void endWithParent()
{
    // A crashed test must not leave its X server or host behind.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

XDisplay::XDisplay()
{
    // A display number far from the usual ones: another server in the same
    // network namespace may hold a low number's abstract socket without a
    // lock file we could see. A taken number makes Xvfb exit, or leaves a
    // server clients cannot reach (seen once on a shared CI host): try the next.
    m_server.setChildProcessModifier(endWithParent);
    const int first = 200 + int(QRandomGenerator::global()->bounded(700));
    for (int display = first; display < first + 20 && m_name.isEmpty(); ++display) {
        const QString name = QLatin1Char(':') + QString::number(display);
        m_server.start(QStringLiteral("Xvfb"), {name, QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                QStringLiteral("-screen"), QStringLiteral("0"),
                                                QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                                                QStringLiteral("tcp"), QStringLiteral("-noreset")});
        if (!m_server.waitForStarted(5000))
            return;
        // Xvfb writes the number once it accepts clients.
        QByteArray ready;
        while (!ready.contains('\n') && m_server.waitForReadyRead(10'000))
            ready += m_server.readAllStandardOutput();
        if (ready.trimmed() == QByteArray::number(display) && m_server.state() == QProcess::Running
            && !captureOf(name).isNull()) {
            m_name = name;
        } else {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }
}

XDisplay::~XDisplay()
{
    m_server.terminate();
    if (!m_server.waitForFinished(5000))
        m_server.kill();
    m_server.waitForFinished(5000);
}

QImage XDisplay::capture() const
{
    return captureOf(m_name);
}

bool XDisplay::pointer(const QStringList &arguments) const
{
    QProcess xdotool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_name);
    xdotool.setProcessEnvironment(environment);
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return xdotool.waitForFinished(10'000) && xdotool.exitCode() == 0;
}

} // namespace vorlie::testing
