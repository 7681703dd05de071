#pragma once

#include "WidgetSnapshot.h"
#include "api/CancelToken.h"
#include "prefs/SharedDefaults.h"
#include "sync/SyncSnapshot.h"

#include <QImage>
#include <QObject>
#include <QSet>
#include <QUrl>
#include <QCoro/QCoroTask>
#include <chrono>
#include <functional>

class QNetworkAccessManager;

namespace vorlie {

// Writes the main person's widget snapshot into the shared suite after each
// sync and asks the desktop to redraw the widget, but only when the stored
// value really changes, so the periodic sync does not redraw every minute.
// The avatar picture is fetched once per person and avatar configuration and
// carried inside the snapshot.
class WidgetSnapshotStore : public QObject {
    Q_OBJECT
public:
    static constexpr int picturePoints = 96;
    static constexpr std::chrono::milliseconds pictureTimeout{60'000};
    static constexpr qint64 maxPictureBytes = qint64{1024} * 1024;

    // `pictureNetwork` is kept apart from the service's and must outlive the
    // store; `reloadAllTimelines` asks the desktop to redraw the widgets.
    WidgetSnapshotStore(SharedDefaults defaults, QNetworkAccessManager &pictureNetwork, QUrl avatarServiceBase,
                        std::function<void()> reloadAllTimelines, QObject *parent = nullptr);
    ~WidgetSnapshotStore() override;

    // None when absent or undecodable.
    std::optional<WidgetSnapshot> load() const;
    // Writes and reloads only when the snapshot differs from the stored one.
    void save(const WidgetSnapshot &snapshot);
    // Removes whatever is stored, an undecodable value included (it may
    // still hold a person's name), and reloads.
    void clear();
    // Rebuilds the snapshot from a sync; may start a picture download,
    // which it does not wait for. The snapshot no longer says offline.
    void applySyncToWidget(const SyncSnapshot &sync);
    // A sync did not reach the service: the stored snapshot says so, with
    // when it was last current. Without a time or a snapshot, nothing.
    void noteUnreachable(const std::optional<QDateTime> &lastCurrent);

signals:
    // A picture download ended, whether or not its picture was kept.
    void pictureDownloadFinished();

private:
    static WidgetSnapshot buildSnapshot(const SyncSnapshot &sync, const MainPerson &main,
                                        const std::optional<WidgetSnapshot> &stored);
    // Writes and reloads unless `stored`, the value just read, is the same.
    void saveOver(const WidgetSnapshot &snapshot, const std::optional<WidgetSnapshot> &stored);
    QCoro::Task<void> downloadPicture(WidgetSnapshot captured);
    void keepPicture(const WidgetSnapshot &captured, const QByteArray &picture);

    SharedDefaults m_defaults;
    QNetworkAccessManager &m_pictureNetwork;
    const QUrl m_avatarServiceBase;
    std::function<void()> m_reloadAllTimelines;
    CancelToken m_shutdown = CancelToken::make(); // fired on destruction, ends running downloads
    QSet<QString> m_downloadsInFlight; // person id plus avatar configuration
};

// The picture in `body` when it is a PNG of sensible dimensions, else a null
// image: an error page or an oversized image must never become an avatar.
QImage decodeAvatarPicture(const QByteArray &body);
bool isAcceptablePicture(const QByteArray &body);

} // namespace vorlie
