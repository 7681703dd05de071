#pragma once

#include <QString>

namespace vorlie {

// The custom status field's rules.

// At most `limit` user-perceived characters: an emoji, a flag or a family
// emoji counts as one and is never cut in half.
QString limitGraphemes(const QString &text, int limit);
int graphemeCount(const QString &text);

// Whether there is anything to send: the text trimmed of white space other
// than line breaks is not empty.
bool hasSendableText(const QString &text);

} // namespace vorlie
