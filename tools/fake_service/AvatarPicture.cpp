#include "AvatarPicture.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QUrlQuery>

namespace vorlie::fake {

namespace {
QColor colour(const QUrlQuery &query, const char *key, QColor fallback)
{
    const QColor parsed(u'#' + query.queryItemValue(QString::fromLatin1(key), QUrl::FullyDecoded));
    return parsed.isValid() ? parsed : fallback;
}
} // namespace

ScriptedReply avatarPicture(const QString &rawTarget)
{
    const QUrlQuery query(QUrl(rawTarget).query());
    bool ok = false;
    const int size = query.queryItemValue(QStringLiteral("size")).toInt(&ok);
    if (!ok || size < 16 || size > 1024) {
        ScriptedReply refusal;
        refusal.status = 400;
        refusal.body = R"({"error":{"code":"BAD_SIZE","message":"size must be 16 to 1024"}})";
        return refusal;
    }

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double u = size / 16.0;
    painter.setBrush(colour(query, "clothesColor", QColor(0x26, 0x2e, 0x33)));
    painter.drawEllipse(QRectF(2 * u, 12 * u, 12 * u, 8 * u));
    painter.setBrush(colour(query, "hairColor", QColor(0x2c, 0x1b, 0x18)));
    painter.drawEllipse(QRectF(3.5 * u, 1.5 * u, 9 * u, 8 * u));
    painter.setBrush(colour(query, "skinColor", QColor(0xed, 0xb9, 0x8a)));
    painter.drawEllipse(QRectF(4 * u, 3 * u, 8 * u, 9 * u));
    painter.setBrush(QColor(0x33, 0x33, 0x33));
    painter.drawEllipse(QRectF(5.8 * u, 6.5 * u, 1.1 * u, 1.1 * u));
    painter.drawEllipse(QRectF(9.1 * u, 6.5 * u, 1.1 * u, 1.1 * u));
    painter.setPen(QPen(QColor(0x8a, 0x3b, 0x3b), 0.5 * u, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(6.5 * u, 8 * u, 3 * u, 2 * u), 200 * 16, 140 * 16);
    painter.end();

    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    ScriptedReply reply;
    reply.body = png.data();
    reply.headers = {{"Content-Type", "image/png"}};
    return reply;
}

} // namespace vorlie::fake
