#include "JsonReader.h"

#include "JsonEscapes_p.h"

#include <array>
#include <charconv>
#include <string_view>

namespace vorlie {
namespace {

using json::Node;
using Kind = JsonError::Kind;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at p (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0.
int utf8SequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char lead = p[0];
    int length = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            secondMin = 0xA0;
        else if (lead == 0xED)
            secondMax = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            secondMin = 0x90;
        else if (lead == 0xF4)
            secondMax = 0x8F;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < secondMin || p[1] > secondMax)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (!isContinuation(p[i]))
            return 0;
    }
    return length;
}

// One pass over the text with an explicit stack of open containers, so a
// hostile nesting depth costs a refusal instead of the call stack.
class Parser {
public:
    Parser(const QByteArray &text, std::vector<Node> &nodes)
        : m_begin(text.constData())
        , m_p(text.constData())
        , m_end(text.constData() + text.size())
        , m_nodes(nodes)
    {
    }

    JsonError run();

private:
    bool fail(Kind kind, const char *at)
    {
        m_error = {kind, at - m_begin};
        return false;
    }
    void skipSpace()
    {
        while (m_p != m_end && isSpace(*m_p))
            ++m_p;
    }
    std::uint32_t here() const { return static_cast<std::uint32_t>(m_p - m_begin); }

    bool document();
    bool key();
    bool value(bool &opened);
    bool open(Node::Kind kind);
    bool afterMember(bool &closed);
    bool string();
    bool escape(const char *&p);
    bool number();
    bool literal(std::string_view word, Node::Kind kind);

    const char *const m_begin;
    const char *m_p;
    const char *const m_end;
    std::vector<Node> &m_nodes;
    std::array<std::uint32_t, ParsedJson::maxDepth> m_open{};
    int m_depth = 0;
    JsonError m_error;
};

JsonError Parser::run()
{
    document();
    return m_error;
}

bool Parser::document()
{
    if (m_end - m_p >= 3 && std::string_view(m_p, 3) == "\xEF\xBB\xBF")
        m_p += 3;
    skipSpace();
    if (m_p == m_end || (*m_p != '{' && *m_p != '['))
        return fail(Kind::Syntax, m_p);
    bool opened = false;
    if (!value(opened))
        return false;
    bool first = true; // nothing read yet in the innermost open container
    while (m_depth > 0) {
        skipSpace();
        if (m_p == m_end)
            return fail(Kind::Syntax, m_p);
        const bool inObject = m_nodes[m_open[m_depth - 1]].kind() == Node::Kind::Object;
        if (!first || *m_p == (inObject ? '}' : ']')) {
            bool closed = false;
            if (!afterMember(closed))
                return false;
            first = false;
            if (closed)
                continue;
            skipSpace();
        }
        if (inObject && !key())
            return false;
        if (!value(opened))
            return false;
        first = opened;
    }
    skipSpace();
    return m_p == m_end || fail(Kind::Syntax, m_p);
}

bool Parser::key()
{
    if (m_p == m_end || *m_p != '"')
        return fail(Kind::Syntax, m_p);
    if (!string())
        return false;
    skipSpace();
    if (m_p == m_end || *m_p != ':')
        return fail(Kind::Syntax, m_p);
    ++m_p;
    skipSpace();
    return true;
}

// After a member or element: steps over a comma, or over the bracket that
// ends the innermost container and then sets `closed`.
bool Parser::afterMember(bool &closed)
{
    const std::uint32_t container = m_open[m_depth - 1];
    const char close = m_nodes[container].kind() == Node::Kind::Object ? '}' : ']';
    if (*m_p == ',') {
        ++m_p;
        closed = false;
        return true;
    }
    if (*m_p != close)
        return fail(Kind::Syntax, m_p);
    ++m_p;
    m_nodes[container].setExtent(static_cast<std::uint32_t>(m_nodes.size()));
    --m_depth;
    closed = true;
    return true;
}

// Any value at m_p; `opened` tells whether it began a container.
bool Parser::value(bool &opened)
{
    opened = false;
    if (m_p == m_end)
        return fail(Kind::Syntax, m_p);
    switch (*m_p) {
    case '{':
        opened = true;
        return open(Node::Kind::Object);
    case '[':
        opened = true;
        return open(Node::Kind::Array);
    case '"': return string();
    case 't': return literal("true", Node::Kind::True);
    case 'f': return literal("false", Node::Kind::False);
    case 'n': return literal("null", Node::Kind::Null);
    case '-':
    case '.': // Qt reads ".5"; refused here as a malformed number
        return number();
    default: return isDigit(*m_p) ? number() : fail(Kind::Syntax, m_p);
    }
}

bool Parser::open(Node::Kind kind)
{
    if (m_depth == ParsedJson::maxDepth)
        return fail(Kind::TooDeep, m_p);
    m_open[m_depth++] = static_cast<std::uint32_t>(m_nodes.size());
    m_nodes.push_back(Node::make(kind, here()));
    ++m_p;
    return true;
}

bool Parser::literal(std::string_view word, Node::Kind kind)
{
    if (m_end - m_p < static_cast<qsizetype>(word.size()) || std::string_view(m_p, word.size()) != word)
        return fail(Kind::Syntax, m_p);
    m_nodes.push_back(Node::make(kind, here()));
    m_p += word.size();
    return true;
}

bool Parser::string()
{
    const char *p = m_p + 1;
    bool escaped = false;
    while (true) {
        if (p == m_end)
            return fail(Kind::Syntax, p);
        const auto c = static_cast<unsigned char>(*p);
        if (c == '"')
            break;
        if (c < 0x20)
            return fail(Kind::ControlCharacter, p);
        if (c == '\\') {
            escaped = true;
            if (!escape(p))
                return false;
        } else if (c < 0x80) {
            ++p;
        } else {
            const int length = utf8SequenceLength(reinterpret_cast<const unsigned char *>(p),
                                                  reinterpret_cast<const unsigned char *>(m_end));
            if (length == 0)
                return fail(Kind::InvalidUtf8, p);
            p += length;
        }
    }
    const auto start = here() + 1;
    m_nodes.push_back(Node::make(Node::Kind::String, start, static_cast<std::uint32_t>(p - m_begin) - start, escaped));
    m_p = p + 1;
    return true;
}

// Checks the escape at p and steps over it; a high surrogate must come with
// its low half, as the text could not be stored as UTF-8 otherwise.
bool Parser::escape(const char *&p)
{
    const char *const start = p;
    if (m_end - p < 2)
        return fail(Kind::Syntax, m_end);
    if (json::simpleEscape(p[1]) != 0) {
        p += 2;
        return true;
    }
    if (p[1] != 'u' || m_end - p < 6)
        return fail(Kind::BadEscape, start);
    const std::int32_t unit = json::hexUnit(p + 2);
    if (unit < 0)
        return fail(Kind::BadEscape, start);
    p += 6;
    if (json::isLowSurrogate(unit))
        return fail(Kind::UnpairedSurrogate, start);
    if (!json::isHighSurrogate(unit))
        return true;
    if (m_end - p < 6 || p[0] != '\\' || p[1] != 'u' || !json::isLowSurrogate(json::hexUnit(p + 2)))
        return fail(Kind::UnpairedSurrogate, start);
    p += 6;
    return true;
}

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)? whose value is a finite
// double; Qt refuses what overflows or underflows to zero, and so does this.
bool Parser::number()
{
    const char *const start = m_p;
    const char *p = m_p;
    if (p != m_end && *p == '-')
        ++p;
    if (p == m_end || !isDigit(*p))
        return fail(Kind::BadNumber, start);
    if (*p == '0') {
        ++p;
    } else {
        while (p != m_end && isDigit(*p))
            ++p;
    }
    bool integral = true;
    if (p != m_end && *p == '.') {
        integral = false;
        ++p;
        if (p == m_end || !isDigit(*p))
            return fail(Kind::BadNumber, start);
        while (p != m_end && isDigit(*p))
            ++p;
    }
    if (p != m_end && (*p == 'e' || *p == 'E')) {
        integral = false;
        ++p;
        if (p != m_end && (*p == '+' || *p == '-'))
            ++p;
        if (p == m_end || !isDigit(*p))
            return fail(Kind::BadNumber, start);
        while (p != m_end && isDigit(*p))
            ++p;
    }
    // Up to 18 digits always fit; only longer integers and fractions can
    // leave a double's range.
    constexpr qsizetype alwaysInRange = 18;
    if (!integral || p - start > alwaysInRange) {
        double ignored = 0;
        if (std::from_chars(start, p, ignored).ec != std::errc())
            return fail(Kind::NumberOutOfRange, start);
    }
    m_nodes.push_back(Node::make(Node::Kind::Number, here(), static_cast<std::uint32_t>(p - start), integral));
    m_p = p;
    return true;
}

} // namespace

ParsedJson ParsedJson::parse(QByteArray text)
{
    ParsedJson parsed;
    if (text.size() > maxBytes) {
        parsed.m_error = {JsonError::Kind::TooLarge, maxBytes};
        return parsed;
    }
    parsed.m_text = std::move(text);
    parsed.m_error = Parser(parsed.m_text, parsed.m_nodes).run();
    if (!parsed.isValid()) {
        parsed.m_nodes = {};
        parsed.m_text = {};
    }
    return parsed;
}

JsonView ParsedJson::root() const
{
    if (!isValid())
        return {};
    return {m_nodes.data(), m_text.constData(), 0};
}

} // namespace vorlie
