#pragma once

#include "JsonView.h"

#include <QByteArray>

#include <vector>

namespace vorlie {

// Why a text was refused, and the byte offset where the reader gave up.
struct JsonError {
    enum class Kind : std::uint8_t {
        None,
        Syntax,
        TooLarge,
        TooDeep,
        InvalidUtf8,
        ControlCharacter,
        BadEscape,
        UnpairedSurrogate,
        BadNumber,
        NumberOutOfRange,
    };
    Kind kind = Kind::None;
    qsizetype offset = 0;
};

// A strictly checked JSON document: the whole text is one object or array,
// as Qt's parser demands; anything else is refused. Values are read through
// JsonView, which points into the kept text, so no string is copied until a
// caller asks for one. Views stay valid while the document lives, also
// after it has been moved.
//
// Stricter than QJsonDocument::fromJson, which lets through raw control
// characters and unknown escapes in strings, lone surrogate escapes, numbers
// such as ".5" or "1.", and 1024 levels of nesting. Like Qt, the last of
// duplicate keys wins and numbers beyond a double's range are refused.
class ParsedJson {
public:
    static constexpr int maxDepth = 256;
    static constexpr qsizetype maxBytes = qsizetype{16} * 1024 * 1024;

    // A leading UTF-8 byte order mark is skipped, as Qt does.
    static ParsedJson parse(QByteArray text);

    bool isValid() const { return m_error.kind == JsonError::Kind::None; }
    JsonError error() const { return m_error; }
    // Undefined when the text was refused.
    JsonView root() const;

private:
    QByteArray m_text;
    std::vector<json::Node> m_nodes;
    JsonError m_error;
};

} // namespace vorlie
