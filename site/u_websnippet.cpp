#include "u_websnippet.h"

#include "macrotext.h"

#include <QDateTime>

namespace corvanta::site {

QString TWebSnippetCollection::ReplaceSnippets(const QString &text) const
{
    QString result = text;
    qsizetype longest = 0;
    for (const TWebSnippet *snippet : *this)
        longest = qMax(longest, snippet->Name.size() + 2);
    TPlaceholderIndex index(result, longest);
    for (int pass = 0; pass < 4; ++pass) {
        bool changed = false;
        for (TWebSnippet *snippet : *this) {
            const QString placeholder = u'%' + snippet->Name + u'%';
            if (!index.Contains(result, placeholder, Qt::CaseSensitive))
                continue;
            ReplaceText(result, placeholder, snippet->Text);
            index.Rebuild(result);
            changed = true;
        }
        if (!changed)
            break;
    }
    ReplaceText(result, QStringLiteral("%TIMESTAMP%"),
                QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    ReplaceText(result, QStringLiteral("%TIMESTAMP_UTC%"),
                QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd'T'hh-mm-ss")));
    return result;
}

}
