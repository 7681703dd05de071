#pragma once

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QString>
#include <algorithm>
#include <optional>

namespace vorlie::testing {

// A window as sway sees it: who drew it, where, and whether it floats or has the focus.
struct SwayWindow {
    QString appId;
    QRect rect;
    bool floating = false;
    bool focused = false;
};

inline QJsonDocument swayQuery(const QString &type)
{
    QProcess swaymsg;
    swaymsg.start(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), type});
    swaymsg.waitForFinished(5000);
    return QJsonDocument::fromJson(swaymsg.readAllStandardOutput());
}

inline QRect rectOf(const QJsonObject &node)
{
    const QJsonObject rect = node.value(QStringLiteral("rect")).toObject();
    return QRect(rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
                 rect.value(QStringLiteral("width")).toInt(), rect.value(QStringLiteral("height")).toInt());
}

inline void collectWindows(const QJsonObject &node, bool floating, QList<SwayWindow> &windows)
{
    if (node.contains(QStringLiteral("app_id")) && node.value(QStringLiteral("visible")).toBool()) {
        windows.append({node.value(QStringLiteral("app_id")).toString(), rectOf(node), floating,
                        node.value(QStringLiteral("focused")).toBool()});
    }
    for (const QJsonValue child : node.value(QStringLiteral("nodes")).toArray())
        collectWindows(child.toObject(), floating, windows);
    for (const QJsonValue child : node.value(QStringLiteral("floating_nodes")).toArray())
        collectWindows(child.toObject(), true, windows);
}

// Every window shown on the output, from sway's tree. Layer surfaces (the
// bar, desktop widgets) are not windows and are not in it.
inline QList<SwayWindow> swayWindows()
{
    QList<SwayWindow> windows;
    collectWindows(swayQuery(QStringLiteral("get_tree")).object(), false, windows);
    return windows;
}

// Whether the keyboard is with a layer surface (such as the panel) rather
// than with a window or the empty workspace: sway names no node then.
inline bool aLayerHasTheKeyboard()
{
    const QJsonArray seats = swayQuery(QStringLiteral("get_seats")).array();
    return !seats.isEmpty() && seats.first().toObject().value(QStringLiteral("focus")).toInt(-1) == 0;
}

inline std::optional<SwayWindow> swayWindowOfWidth(int width)
{
    const QList<SwayWindow> windows = swayWindows();
    const auto found = std::find_if(windows.cbegin(), windows.cend(),
                                    [width](const SwayWindow &w) { return w.rect.width() == width; });
    return found == windows.cend() ? std::nullopt : std::optional(*found);
}

// The output's area left to windows: below the bar, when there is one.
inline QRect swayWorkArea()
{
    const QJsonArray workspaces = swayQuery(QStringLiteral("get_workspaces")).array();
    return workspaces.isEmpty() ? QRect() : rectOf(workspaces.first().toObject());
}

// What the output shows now, whole or in a region (quicker to take).
inline QImage screenshot(const QRect &region = {})
{
    QStringList arguments{QStringLiteral("-t"), QStringLiteral("ppm")};
    if (region.isValid()) {
        arguments << QStringLiteral("-g")
                  << QStringLiteral("%1,%2 %3x%4").arg(region.x()).arg(region.y()).arg(region.width()).arg(region.height());
    }
    QProcess grim;
    grim.start(QStringLiteral("grim"), arguments << QStringLiteral("-"));
    grim.waitForFinished(5000);
    return QImage::fromData(grim.readAllStandardOutput(), "PPM");
}

} // namespace vorlie::testing
