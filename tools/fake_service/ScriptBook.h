#pragma once

#include "ScriptedReply.h"

#include <QHash>
#include <QQueue>
#include <optional>

namespace vorlie::fake {

// Answers that tests put in place of the built-in behaviour, per method and
// path. One-shot answers are used up in order before a standing one applies.
// Not thread-safe: FakeService serialises every call.
class ScriptBook {
public:
    void script(const QByteArray &method, const QString &path, const ScriptedReply &reply);
    void scriptAlways(const QByteArray &method, const QString &path, const ScriptedReply &reply);
    void clear();

    // The scripted answer for this request, used up if it was one-shot.
    std::optional<ScriptedReply> take(const QByteArray &method, const QString &path);

private:
    using Key = QPair<QByteArray, QString>;
    QHash<Key, QQueue<ScriptedReply>> m_oneShot;
    QHash<Key, ScriptedReply> m_always;
};

} // namespace vorlie::fake
