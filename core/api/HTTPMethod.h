#pragma once

#include <QByteArray>
#include <QStringView>
#include <optional>

namespace vorlie {

enum class HTTPMethod { get, post, put, patch, delete_ };

QByteArray wireText(HTTPMethod method);
// Exact, case-sensitive match.
std::optional<HTTPMethod> httpMethodFromWireText(QByteArrayView text);

} // namespace vorlie
