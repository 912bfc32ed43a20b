#pragma once

#include <QSet>
#include <QString>

namespace corvanta::site {

// Replaces every occurrence of pattern, compared without regard to letter case, in one
// left-to-right pass (a value holding the pattern is not replaced again).
void ReplaceText(QString &text, const QString &pattern, const QString &value);

// The text without the characters of code 32 and below (blanks, tabs, line breaks and other
// control characters) at either end.
QString Trimmed(const QString &text);

// The file-name part of a local path: the text after the last path delimiter.
QString FileNamePart(const QString &path);

// Writes every UTF-16 unit of 128 and above as a decimal character reference ("&#233;").
QString EncodeNonAscii(const QString &text);

// Knows which "%...%" placeholders a text holds. A placeholder without an inner "%" can only
// stand between two neighbouring percent signs, so one scan of the text answers for all of
// them; this keeps a long list of placeholders from costing one scan of a large page each.
// Only the stretches up to the longest placeholder asked about are kept.
class TPlaceholderIndex
{
public:
    TPlaceholderIndex(const QString &text, qsizetype longestPlaceholder);
    void Rebuild(const QString &text);
    // Whether placeholder occurs in the text; exact for every placeholder, the ones with an
    // inner "%" or longer than the longest announced are looked for in the text itself.
    bool Contains(const QString &text, const QString &placeholder, Qt::CaseSensitivity cs) const;

private:
    qsizetype m_longestInner;
    QSet<QString> m_exact;
    QSet<QString> m_folded;
};

}
