#include "KeychainTokenStore.h"

#include "KeychainJob.h"

#include <QStringDecoder>
#include <qt6keychain/keychain.h>

namespace vorlie {

namespace {

std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    // A leading BOM is part of the token too: keep every byte's meaning.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

template<typename JobType>
JobType *KeychainTokenStore::newJob(const QString &account) const
{
    auto *job = new JobType(m_service);
    job->setKey(account);
    job->setInsecureFallback(false); // a token never goes to a file
    return job;
}

KeychainTokenStore::KeychainTokenStore(QString service, std::chrono::milliseconds guardTimeout)
    : m_service(std::move(service))
    , m_guardTimeout(guardTimeout)
{
}

QCoro::Task<std::optional<QString>> KeychainTokenStore::read(QString account)
{
    QByteArray data;
    const bool found = co_await KeychainJob::run(newJob<QKeychain::ReadPasswordJob>(account), m_guardTimeout,
                                                 [&data](QKeychain::Job &job) { data = static_cast<QKeychain::ReadPasswordJob &>(job).binaryData(); });
    if (!found)
        co_return std::nullopt;
    co_return decodeUtf8(data);
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the order is the interface's
QCoro::Task<void> KeychainTokenStore::write(QString value, QString account)
{
    auto *job = newJob<QKeychain::WritePasswordJob>(account);
    job->setBinaryData(value.toUtf8());
    co_await KeychainJob::run(job, m_guardTimeout);
}

QCoro::Task<void> KeychainTokenStore::deleteItem(QString account)
{
    co_await KeychainJob::run(newJob<QKeychain::DeletePasswordJob>(account), m_guardTimeout);
}

} // namespace vorlie
