#include "KeychainTokenStore.h"

#include "KeychainJob.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QStringDecoder>
#include <QTimer>
#include <qt6keychain/keychain.h>

#include <dlfcn.h>

namespace vorlie {

namespace {

const QString secretService = QStringLiteral("org.freedesktop.secrets");
constexpr std::chrono::milliseconds settleTime{1000};

std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    // A leading BOM is part of the token too: keep every byte's meaning.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

CredentialStoreState stateOf(const KeychainJob::Outcome &outcome)
{
    if (!outcome.answered)
        return CredentialStoreState::unavailable;
    if (outcome.error == QKeychain::NoError || outcome.error == QKeychain::EntryNotFound)
        return CredentialStoreState::available;
    // A refusal from a service that is there means its collection is locked
    // (or was never set up, which the same unlock mends); the messages that
    // would say so are translated, so ask the bus instead.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const bool present = bus.isConnected() && bus.interface()->isServiceRegistered(secretService).value();
    return present ? CredentialStoreState::locked : CredentialStoreState::unavailable;
}

// QtKeychain loads libsecret at run time, whose shared service proxy keeps the
// session it opened with the first daemon; a restarted daemon refuses that
// session for good, so it is dropped whenever the service changes hands.
void forgetSecretServiceSession()
{
    void *library = ::dlopen("libsecret-1.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr)
        return;
    using Disconnect = void (*)();
    if (auto disconnect = reinterpret_cast<Disconnect>(::dlsym(library, "secret_service_disconnect")))
        disconnect();
    ::dlclose(library);
}

} // namespace

// Tells the store's user when the Secret Service may have become usable.
class SecretServiceWatch : public QObject {
    Q_OBJECT
public:
    explicit SecretServiceWatch(std::function<void()> onChange)
        : m_onChange(std::move(onChange))
        , m_ownerWatch(secretService, QDBusConnection::sessionBus(),
                       QDBusServiceWatcher::WatchForOwnerChange)
    {
        connect(&m_ownerWatch, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
            forgetSecretServiceSession();
            changed();
            // A daemon takes its name before it has opened its keyrings: ask again once it has settled.
            QTimer::singleShot(settleTime, this, &SecretServiceWatch::changed);
        });
        // An unlock changes the collection's Locked property and is announced as
        // a collection change; a first start creates the collection instead.
        for (const char *signal : {"CollectionChanged", "CollectionCreated"})
            QDBusConnection::sessionBus().connect(secretService, QStringLiteral("/org/freedesktop/secrets"),
                                                  QStringLiteral("org.freedesktop.Secret.Service"),
                                                  QString::fromLatin1(signal), this, SLOT(changed()));
    }

public slots:
    void changed() { m_onChange(); }

private:
    std::function<void()> m_onChange;
    QDBusServiceWatcher m_ownerWatch;
};

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

KeychainTokenStore::~KeychainTokenStore() = default;

QCoro::Task<TokenRead> KeychainTokenStore::readEntry(QString account)
{
    QByteArray data;
    const KeychainJob::Outcome outcome =
        co_await KeychainJob::run(newJob<QKeychain::ReadPasswordJob>(account), m_guardTimeout,
                                  [&data](QKeychain::Job &job) { data = static_cast<QKeychain::ReadPasswordJob &>(job).binaryData(); });
    TokenRead entry;
    entry.store = stateOf(outcome);
    if (outcome.answered && outcome.error == QKeychain::NoError)
        entry.token = decodeUtf8(data);
    co_return entry;
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the order is the interface's
QCoro::Task<CredentialStoreState> KeychainTokenStore::write(QString value, QString account)
{
    auto *job = newJob<QKeychain::WritePasswordJob>(account);
    job->setBinaryData(value.toUtf8());
    co_return stateOf(co_await KeychainJob::run(job, m_guardTimeout));
}

QCoro::Task<CredentialStoreState> KeychainTokenStore::deleteItem(QString account)
{
    co_return stateOf(co_await KeychainJob::run(newJob<QKeychain::DeletePasswordJob>(account), m_guardTimeout));
}

void KeychainTokenStore::watchAvailability(std::function<void()> onChange)
{
    m_watch = std::make_unique<SecretServiceWatch>(std::move(onChange));
}

} // namespace vorlie

#include "KeychainTokenStore.moc"
