#include "XDisplay.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <csignal>
#include <sys/prctl.h>

namespace vorlie::testing {
namespace {

// XWD: a header of big-endian 32-bit fields, the window name, the colour
// map, then the pixels.
QImage fromXwd(const QByteArray &xwd)
{
    enum Field { headerSize, fileVersion, format, depth, width, height, xOffset, byteOrder, bitmapUnit, bitmapBitOrder,
                 bitmapPad, bitsPerPixel, bytesPerLine, visualClass, redMask, greenMask, blueMask, bitsPerRgb,
                 colormapEntries, ncolors, fieldCount };
    if (xwd.size() < qsizetype{fieldCount} * 4)
        return {};
    quint32 field[fieldCount];
    for (int i = 0; i < fieldCount; ++i)
        field[i] = qFromBigEndian<quint32>(xwd.constData() + qsizetype{i} * 4);
    const qsizetype pixels = qsizetype(field[headerSize]) + qsizetype(field[ncolors]) * 12;
    const qsizetype bytes = qsizetype(field[bytesPerLine]) * field[height];
    // Blue, green, red from the least significant byte on, in three or four
    // bytes a pixel: Xvfb uses either for depth 24.
    const quint32 bytesPerPixel = field[bitsPerPixel] / 8;
    if (field[byteOrder] != 0 || (bytesPerPixel != 3 && bytesPerPixel != 4) || xwd.size() < pixels + bytes)
        return {};
    return QImage(reinterpret_cast<const uchar *>(xwd.constData() + pixels), int(field[width]), int(field[height]),
                  qsizetype(field[bytesPerLine]), bytesPerPixel == 4 ? QImage::Format_RGB32 : QImage::Format_BGR888)
        .convertToFormat(QImage::Format_RGB32)
        .copy(); // the pixels must not point into `xwd` once it is gone
}

QImage captureOf(const QString &display)
{
    QProcess xwd;
    xwd.start(QStringLiteral("xwd"), {QStringLiteral("-display"), display, QStringLiteral("-root"), QStringLiteral("-silent")});
    if (!xwd.waitForFinished(10'000) || xwd.exitCode() != 0)
        return {};
    return fromXwd(xwd.readAllStandardOutput());
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
