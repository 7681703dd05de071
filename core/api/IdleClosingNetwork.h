#pragma once

#include <QNetworkAccessManager>

namespace vorlie {

// A network manager for rare transfers, such as pictures: once its last
// transfer has ended it closes its connections and its worker thread. Kept
// open, they would wake the idle program two minutes later only to close.
class IdleClosingNetwork : public QNetworkAccessManager {
    Q_OBJECT
public:
    using QNetworkAccessManager::QNetworkAccessManager;
    ~IdleClosingNetwork() override;

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *outgoingData) override;

private:
    void transferEnded();

    int m_inFlight = 0;
};

} // namespace vorlie
