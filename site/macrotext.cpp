#include "macrotext.h"

namespace corvanta::site {

void ReplaceText(QString &text, const QString &pattern, const QString &value)
{
    text.replace(pattern, value, Qt::CaseInsensitive);
}

QString Trimmed(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString FileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString EncodeNonAscii(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 128)
            result += c;
        else
            result += QStringLiteral("&#") + QString::number(c.unicode()) + u';';
    }
    return result;
}

TPlaceholderIndex::TPlaceholderIndex(const QString &text, qsizetype longestPlaceholder)
    : m_longestInner(longestPlaceholder - 2)
{
    Rebuild(text);
}

void TPlaceholderIndex::Rebuild(const QString &text)
{
    m_exact.clear();
    m_folded.clear();
    qsizetype previous = text.indexOf(u'%');
    while (previous >= 0) {
        const qsizetype next = text.indexOf(u'%', previous + 1);
        if (next < 0)
            break;
        if (next - previous - 1 <= m_longestInner) {
            const QString inner = text.mid(previous + 1, next - previous - 1);
            m_folded.insert(inner.toCaseFolded());
            m_exact.insert(inner);
        }
        previous = next;
    }
}

bool TPlaceholderIndex::Contains(const QString &text, const QString &placeholder, Qt::CaseSensitivity cs) const
{
    if (placeholder.size() < 2 || !placeholder.startsWith(u'%') || !placeholder.endsWith(u'%'))
        return text.contains(placeholder, cs);
    const QString inner = placeholder.mid(1, placeholder.size() - 2);
    if (inner.contains(u'%') || inner.size() > m_longestInner)
        return text.contains(placeholder, cs);
    return cs == Qt::CaseSensitive ? m_exact.contains(inner) : m_folded.contains(inner.toCaseFolded());
}

}
