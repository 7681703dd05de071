#pragma once

#include <QByteArrayView>
#include <QJsonValue>
#include <QLatin1StringView>
#include <QString>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>

namespace vorlie {

namespace json {

// One value of a parsed text, in document order: a container is followed by
// everything inside it, an object's members as a key string and then its
// value. Eight bytes, so a hostile text costs at most a few times its size.
struct Node {
    enum class Kind : std::uint8_t { Null, False, True, Number, String, Array, Object };

    // First byte of the value; for strings the first byte after the quote.
    std::uint32_t offset = 0;
    // extent << 4 | flag << 3 | kind. The extent is a string's or number's
    // length in bytes and, for a container, the index one past its last node.
    // The flag marks strings with escapes and numbers written as integers.
    std::uint32_t packed = 0;

    static Node make(Kind kind, std::uint32_t offset, std::uint32_t extent = 0, bool flag = false)
    {
        return {offset, extent << 4 | static_cast<std::uint32_t>(flag) << 3 | static_cast<std::uint32_t>(kind)};
    }
    Kind kind() const { return static_cast<Kind>(packed & 7); }
    bool flag() const { return (packed & 8) != 0; }
    std::uint32_t extent() const { return packed >> 4; }
    void setExtent(std::uint32_t extent) { packed = extent << 4 | (packed & 15); }
};

} // namespace json

// A value inside a ParsedJson, cheap to copy. A default view, a missing
// member or an element past the end is undefined, as with QJsonValue.
class JsonView {
public:
    class const_iterator;

    JsonView() = default;

    bool isUndefined() const { return m_nodes == nullptr; }
    bool isNull() const { return is(json::Node::Kind::Null); }
    bool isBool() const { return is(json::Node::Kind::True) || is(json::Node::Kind::False); }
    bool isDouble() const { return is(json::Node::Kind::Number); }
    bool isString() const { return is(json::Node::Kind::String); }
    bool isArray() const { return is(json::Node::Kind::Array); }
    bool isObject() const { return is(json::Node::Kind::Object); }

    bool toBool() const { return is(json::Node::Kind::True); }
    // 0 for anything but a number.
    double toDouble() const;
    // The number when Qt keeps it as a 64-bit integer: written as one, or a
    // whole value within qint64's range. None for fractions, larger values
    // and anything but a number.
    std::optional<qint64> toInteger() const;

    // The unescaped text, every character kept; empty for anything but a
    // string. Qt's toString() drops a leading U+FEFF, so a text that starts
    // with one would lose a character each time it is stored and read.
    QString toString() const;
    // The UTF-8 of toString(), straight from the text, when the string has
    // no escapes; read without building a QString.
    std::optional<QByteArrayView> rawUtf8() const;
    // Whether this is a string equal to the given ASCII text.
    bool equals(QLatin1StringView ascii) const;

    // An object's member; the last one when a key repeats.
    JsonView value(QLatin1StringView key) const;

    // An array's elements; nothing for any other value.
    const_iterator begin() const;
    const_iterator end() const;
    qsizetype size() const;

    // Qt's value for the same text.
    QJsonValue toQJsonValue() const;

private:
    friend class ParsedJson;

    JsonView(const json::Node *nodes, const char *text, std::uint32_t index)
        : m_nodes(nodes)
        , m_text(text)
        , m_index(index)
    {
    }

    const json::Node &node() const { return m_nodes[m_index]; }
    // Inline, as the decoders' innermost loop: key lookups.
    bool isKey(QLatin1StringView ascii) const
    {
        const json::Node &n = node();
        if (n.flag())
            return escapedKeyIs(ascii);
        return n.extent() == static_cast<std::uint32_t>(ascii.size())
               && std::memcmp(m_text + n.offset, ascii.data(), n.extent()) == 0;
    }
    bool escapedKeyIs(QLatin1StringView ascii) const;
    bool is(json::Node::Kind kind) const { return m_nodes != nullptr && node().kind() == kind; }
    JsonView at(std::uint32_t index) const { return {m_nodes, m_text, index}; }
    // The index just past the value at `index` and everything inside it.
    std::uint32_t after(std::uint32_t index) const
    {
        const json::Node &n = m_nodes[index];
        return n.kind() == json::Node::Kind::Array || n.kind() == json::Node::Kind::Object ? n.extent() : index + 1;
    }
    QByteArrayView bytes() const;

    const json::Node *m_nodes = nullptr;
    const char *m_text = nullptr;
    std::uint32_t m_index = 0;
};

class JsonView::const_iterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = JsonView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = JsonView;

    const_iterator() = default;
    JsonView operator*() const { return m_container.at(m_index); }
    const_iterator &operator++()
    {
        m_index = m_container.after(m_index);
        return *this;
    }
    const_iterator operator++(int)
    {
        const_iterator old = *this;
        ++*this;
        return old;
    }
    friend bool operator==(const const_iterator &a, const const_iterator &b) { return a.m_index == b.m_index; }

private:
    friend class JsonView;
    const_iterator(JsonView container, std::uint32_t index)
        : m_container(container)
        , m_index(index)
    {
    }

    JsonView m_container;
    std::uint32_t m_index = 0;
};

} // namespace vorlie
