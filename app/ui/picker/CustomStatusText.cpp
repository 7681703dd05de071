#include "CustomStatusText.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace vorlie {

int graphemeCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString limitGraphemes(const QString &text, int limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    qsizetype position = 0;
    while (count < limit) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        position = next;
        ++count;
    }
    return position >= text.size() ? text : text.left(position);
}

bool hasSendableText(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return !c.isSpace() || c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
}

} // namespace vorlie
