#include "ScriptBook.h"

namespace vorlie::fake {

void ScriptBook::script(const QByteArray &method, const QString &path, const ScriptedReply &reply)
{
    m_oneShot[Key(method, path)].enqueue(reply);
}

void ScriptBook::scriptAlways(const QByteArray &method, const QString &path, const ScriptedReply &reply)
{
    m_always.insert(Key(method, path), reply);
}

void ScriptBook::clear()
{
    m_oneShot.clear();
    m_always.clear();
}

std::optional<ScriptedReply> ScriptBook::take(const QByteArray &method, const QString &path)
{
    const Key key(method, path);
    if (auto queued = m_oneShot.find(key); queued != m_oneShot.end()) {
        ScriptedReply reply = queued->dequeue();
        if (queued->isEmpty())
            m_oneShot.erase(queued);
        return reply;
    }
    if (auto always = m_always.constFind(key); always != m_always.constEnd())
        return *always;
    return std::nullopt;
}

} // namespace vorlie::fake
