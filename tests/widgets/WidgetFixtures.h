#pragma once

// What the application side leaves in the shared suite for the widget:
// snapshots written by its own WidgetSnapshotStore, with the fake avatar
// service's pictures.

#include "AvatarPicture.h"
#include "domain/AvatarImageURL.h"
#include "prefs/PreferenceKeys.h"
#include "prefs/SharedDefaults.h"
#include "widget/WidgetSnapshotStore.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>

namespace vorlie::testing {

inline WidgetSnapshot sampleSnapshot(const QDateTime &updatedAt = QDateTime::currentDateTimeUtc().addSecs(-300))
{
    WidgetSnapshot s;
    s.personID = QStringLiteral("p-quil");
    s.displayName = QStringLiteral("Quil");
    s.avatar.skinTone = SkinTone::warm2;
    s.avatar.hairStyle = HairStyle::curly;
    s.avatar.hairColor = HairColor::brown;
    s.avatar.outfit = Outfit::hoodie;
    s.avatar.outfitColor = OutfitColor::green;
    s.avatar.expression = Expression::smile;
    s.statusText = QStringLiteral("Thinking of you");
    s.emoji = QStringLiteral("🥰");
    s.visualState = StatusVisualState::missing;
    s.updatedAt = QDateTime::fromSecsSinceEpoch(updatedAt.toSecsSinceEpoch(), Qt::UTC);
    s.isExpired = false;
    // A 192 px PNG as the avatar service renders it for 96 points.
    const QUrl url = avatarImageURL(QUrl(QStringLiteral("http://127.0.0.1")), s.avatar, s.personID, 96);
    s.avatarImageData = fake::avatarPicture(url.path() + QLatin1Char('?') + url.query(QUrl::FullyEncoded)).body;
    return s;
}

// The application's writer over a suite in a directory of its own.
class AppSide {
public:
    AppSide()
        : defaults(PreferencePaths::under(dir.path()))
        , store(defaults, network, QUrl(QStringLiteral("http://127.0.0.1:9")), [] {})
    {
    }

    void write(const WidgetSnapshot &snapshot) { store.save(snapshot); }
    void writeRaw(const QByteArray &data) const { defaults.setData(prefkeys::widgetSnapshot(), data); }
    void clear() { store.clear(); }
    QByteArray stored() const { return defaults.data(prefkeys::widgetSnapshot()).value_or(QByteArray()); }

    QTemporaryDir dir;
    SharedDefaults defaults;
    QNetworkAccessManager network;
    WidgetSnapshotStore store;
};

} // namespace vorlie::testing
