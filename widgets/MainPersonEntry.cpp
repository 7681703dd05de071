#include "MainPersonEntry.h"

#include "domain/OfflineLabel.h"
#include "domain/RelativeTime.h"

namespace vorlie {

WidgetSnapshotObject::WidgetSnapshotObject(WidgetSnapshot snapshot, QImage picture, const QLocale &formattingLocale,
                                           WidgetClock now, QObject *parent)
    : QObject(parent)
    , m_snapshot(std::move(snapshot))
    , m_picture(std::move(picture))
    , m_formattingLocale(formattingLocale)
    , m_now(std::move(now))
{
}

QString WidgetSnapshotObject::moodShown() const
{
    return rawValue(m_snapshot.isExpired ? StatusVisualState::neutral : m_snapshot.visualState);
}

QString WidgetSnapshotObject::elapsedText() const
{
    return abbreviatedRelativeTime(m_snapshot.updatedAt, m_now(), m_formattingLocale);
}

QString WidgetSnapshotObject::offlineText() const
{
    if (!m_snapshot.offlineUpdatedAt)
        return {};
    return offlineLabel(m_snapshot.offlineUpdatedAt, m_now(), m_formattingLocale);
}

MainPersonEntry::MainPersonEntry(QDateTime date, const std::optional<WidgetSnapshot> &snapshot, const QImage &picture,
                                 bool showUpdatedTime, const QLocale &formattingLocale, WidgetClock now)
    : m_date(std::move(date))
    , m_showUpdatedTime(showUpdatedTime)
{
    if (snapshot)
        m_snapshot = new WidgetSnapshotObject(*snapshot, picture, formattingLocale, std::move(now), this);
}

std::optional<WidgetSnapshot> MainPersonEntry::snapshot() const
{
    if (!m_snapshot)
        return std::nullopt;
    return m_snapshot->snapshot();
}

QUrl MainPersonEntry::widgetURL() const
{
    return QUrl(m_snapshot ? QStringLiteral("vorlia://home") : QStringLiteral("vorlia://status"));
}

} // namespace vorlie
