#include "PendingID.h"

#include <QRandomGenerator>

#include <array>

namespace vorlie {

namespace {
constexpr char alphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
}

QString makePendingID(const QDateTime &now)
{
    QString id(26, u'0');
    quint64 t = static_cast<quint64>(now.toMSecsSinceEpoch());
    for (int k = 0; k < 10; ++k, t /= 32)
        id[9 - k] = QLatin1Char(alphabet[t % 32]);

    std::array<quint32, 3> words{};
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    std::array<quint8, 10> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<quint8>(words[i / 4] >> (8 * (i % 4)));
    // 80 bits, first byte first and most significant bit first, 5 bits per character.
    for (int c = 0; c < 16; ++c) {
        int value = 0;
        for (int b = 0; b < 5; ++b) {
            const int bit = c * 5 + b;
            value = (value << 1) | ((bytes[static_cast<std::size_t>(bit / 8)] >> (7 - bit % 8)) & 1);
        }
        id[10 + c] = QLatin1Char(alphabet[value]);
    }
    return id;
}

} // namespace vorlie
