#include "IdleClosingNetwork.h"

#include <QNetworkReply>
#include <QTimer>
#include <memory>
#include <utility>

namespace vorlie {

IdleClosingNetwork::~IdleClosingNetwork()
{
    // Qt's own destructor deletes the replies still running, after this part
    // of the object is gone: they must not report back to it.
    for (QNetworkReply *reply : findChildren<QNetworkReply *>(Qt::FindDirectChildrenOnly))
        disconnect(reply, nullptr, this, nullptr);
}

QNetworkReply *IdleClosingNetwork::createRequest(Operation op, const QNetworkRequest &request,
                                                 QIODevice *outgoingData)
{
    QNetworkReply *reply = QNetworkAccessManager::createRequest(op, request, outgoingData);
    ++m_inFlight;
    // A reply deleted before it finished ends its transfer too; either way once.
    auto ended = std::make_shared<bool>(false);
    const auto end = [this, ended] {
        if (!std::exchange(*ended, true))
            transferEnded();
    };
    connect(reply, &QNetworkReply::finished, this, end);
    connect(reply, &QObject::destroyed, this, end);
    return reply;
}

void IdleClosingNetwork::transferEnded()
{
    if (--m_inFlight > 0)
        return;
    // Later, once the finished reply has handed its connection back.
    QTimer::singleShot(0, this, [this] {
        if (m_inFlight == 0)
            clearConnectionCache();
    });
}

} // namespace vorlie
