#include "HTTPMethod.h"

#include <array>
#include <utility>

namespace vorlie {
namespace {

constexpr std::array<std::pair<HTTPMethod, const char *>, 5> methods{{
    {HTTPMethod::get, "GET"},
    {HTTPMethod::post, "POST"},
    {HTTPMethod::put, "PUT"},
    {HTTPMethod::patch, "PATCH"},
    {HTTPMethod::delete_, "DELETE"},
}};

} // namespace

QByteArray wireText(HTTPMethod method)
{
    for (const auto &[m, text] : methods) {
        if (m == method)
            return QByteArray(text);
    }
    return {};
}

std::optional<HTTPMethod> httpMethodFromWireText(QByteArrayView text)
{
    for (const auto &[m, wire] : methods) {
        if (text == QByteArrayView(wire))
            return m;
    }
    return std::nullopt;
}

} // namespace vorlie
