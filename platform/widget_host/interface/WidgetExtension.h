#pragma once

// The contract between a widget host and a widget extension plug-in. Only Qt
// types cross it: the host knows nothing of what a widget shows; it asks the
// extension for entries and draws each with the extension's own QML view.

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSizeF>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <QtPlugin>

#include <memory>
#include <optional>

class QQmlEngine;

namespace vorlie::widgetkit {

enum class WidgetFamily { small, medium };

// The name a view's `family` property receives.
inline QString familyName(WidgetFamily family)
{
    return family == WidgetFamily::small ? QStringLiteral("small") : QStringLiteral("medium");
}

// A switch the user may turn in the widget's settings.
struct ConfigurationParameter {
    QString name;  // key in WidgetConfiguration
    QString title; // already localised
    bool defaultValue = false;
};

// Parameter name → value; a missing name means its default.
using WidgetConfiguration = QVariantMap;

struct TimelineContext {
    WidgetFamily family = WidgetFamily::small;
    QSizeF displaySize;
};

// One entry of a timeline. `content` belongs to the extension and is handed
// unchanged to the view's `entry` property.
struct TimelineEntry {
    QDateTime date;
    std::shared_ptr<QObject> content;
};

struct Timeline {
    QList<TimelineEntry> entries;
    // Ask again at this time; none: only when the extension asks for a reload.
    std::optional<QDateTime> reloadAfter;
};

class TimelineProvider {
public:
    virtual ~TimelineProvider() = default;
    // Something to show at once, before real content is ready.
    virtual TimelineEntry placeholder(const TimelineContext &context) const = 0;
    // The current content, e.g. for a preview.
    virtual TimelineEntry snapshot(const WidgetConfiguration &configuration, const TimelineContext &context) const = 0;
    virtual Timeline timeline(const WidgetConfiguration &configuration, const TimelineContext &context) const = 0;
};

struct WidgetDeclaration {
    QString kind;
    QString displayName; // already localised
    QString description; // already localised
    QList<WidgetFamily> supportedFamilies;
    QString configurationTitle; // already localised
    QList<ConfigurationParameter> parameters;
    std::shared_ptr<const TimelineProvider> provider;
    // A QML component whose root has the properties `entry` (QObject) and
    // `family` (string), and a read-only `widgetURL` the host opens on a tap.
    QUrl view;
};

// What one start of the extension declares. A new bundle is created after
// every reload request, so it may read its settings (e.g. the language) anew.
class WidgetBundle {
public:
    virtual ~WidgetBundle() = default;
    virtual QList<WidgetDeclaration> widgets() const = 0;
};

// The plug-in's root object.
class WidgetExtension {
public:
    virtual ~WidgetExtension() = default;
    // Called once per engine, before any view is created in it.
    virtual void prepareEngine(QQmlEngine &engine) = 0;
    virtual std::unique_ptr<WidgetBundle> createBundle() = 0;
};

} // namespace vorlie::widgetkit

#define VorlieWidgetExtension_iid "com.vorlia.app.WidgetExtension/1.0"
Q_DECLARE_INTERFACE(vorlie::widgetkit::WidgetExtension, VorlieWidgetExtension_iid)
