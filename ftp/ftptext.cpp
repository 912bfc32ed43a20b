#include "ftp/ftptext.h"

namespace corvanta {

QString DriftwayText(const char *text)
{
    return QString::fromUtf8(text);
}

QString FormatText(const QString &pattern, const QStringList &args)
{
    QString out;
    out.reserve(pattern.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        if (pattern[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < pattern.size() && pattern[j].isDigit())
            ++j;
        qsizetype index = next;
        if (j > i + 1 && j < pattern.size() && pattern[j] == u':') {
            index = pattern.mid(i + 1, j - i - 1).toInt();
            ++j;
        } else if (j > i + 1) {
            j = i + 1; // digits without a colon are no index
        }
        if (j < pattern.size() && (pattern[j] == u's' || pattern[j] == u'd') && index < args.size()) {
            out += args[index];
            next = index + 1;
            i = j;
        } else {
            out += c;
        }
    }
    return out;
}

QString DriftwayFormat(const char *pattern, const QStringList &args)
{
    return FormatText(DriftwayText(pattern), args);
}

}
