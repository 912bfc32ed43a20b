#include "u_feeds.h"

#include "sitefile.h"
#include "u_webcollection.h"

#include <QDateTime>
#include <QRegularExpression>

namespace corvanta::site {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString xmlDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
// The base of every entry's content: one fixed absolute address, as feed readers require.
const QString contentBase = QStringLiteral("https://corvanta.invalid/");

// The local time with milliseconds and its offset from UTC ("Z" when there is none).
QString updateTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc();
    QString zone = QStringLiteral("Z");
    if (offset != 0) {
        const int minutes = qAbs(offset) / 60;
        zone = QStringLiteral("%1%2:%3")
                   .arg(offset > 0 ? u'+' : u'-')
                   .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                   .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    }
    return now.toString(QStringLiteral("yyyy-MM-dd'T'hh:mm:ss.zzz")) + zone;
}

bool startsReference(const QString &text, qsizetype amp)
{
    static const QRegularExpression reference(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z][A-Za-z0-9]*);"));
    return reference.match(text, amp, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption)
        .hasMatch();
}

QString itemAddress(const QString &remoteRoot, int id)
{
    return remoteRoot + QStringLiteral("index.html#item_") + QString::number(id);
}

}

QString FeedText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'<')
            result += QStringLiteral("&lt;");
        else if (c == u'>')
            result += QStringLiteral("&gt;");
        else if (c == u'&' && !startsReference(text, i))
            result += QStringLiteral("&amp;");
        else
            result += c;
    }
    return result;
}

QByteArray FeedBytes(const QString &text)
{
    const QString lines = NormaliseLineBreaks(text);
    QByteArray bytes;
    bytes.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        char32_t c = lines[i].unicode();
        if (c < 128) {
            bytes += char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < lines.size() && lines[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), lines[++i].unicode());
        else if (QChar::isSurrogate(c))
            c = 0xFFFD; // a lone half of a pair is no character
        bytes += "&#" + QByteArray::number(uint(c)) + ';';
    }
    return bytes;
}

QString WriteAtomFeed(const TWebCollection &collection, const QString &remoteRoot, const QString &projectName,
                      const QString &atomContent)
{
    const QString updated = updateTime();
    QString feed = xmlDeclaration + crlf + QStringLiteral("<feed xmlns=\"http://www.w3.org/2005/Atom\">") + crlf
        + QStringLiteral("<title>") + FeedText(projectName) + QStringLiteral("</title>") + crlf
        + QStringLiteral("<id>") + remoteRoot + QStringLiteral("</id>") + crlf
        + QStringLiteral("<updated>") + updated + QStringLiteral("</updated>") + crlf
        + QStringLiteral("<author>") + crlf + QStringLiteral(" <name>anonymous</name> ") + crlf
        + QStringLiteral("</author>") + crlf
        + QStringLiteral("<link rel=\"self\" href=\"NEWS-atom.xml\" />") + crlf;
    for (const TWebItem *item : collection.Items) {
        const QString address = itemAddress(remoteRoot, item->Data.Id);
        feed += QStringLiteral("<entry>") + crlf
            + QStringLiteral("<title>") + FeedText(item->Data.Name) + QStringLiteral("</title>") + crlf
            + QStringLiteral("<id>") + address + QStringLiteral("</id>") + crlf
            + QStringLiteral("<updated>") + updated + QStringLiteral("</updated>") + crlf
            + QStringLiteral("<link href=\"") + address + QStringLiteral("\"/>") + crlf
            + QStringLiteral("<summary>") + FeedText(item->Data.Abstract) + QStringLiteral("</summary>") + crlf
            + QStringLiteral("<content type=\"xhtml\" xml:base=\"") + contentBase + QStringLiteral("\">") + crlf
            + QStringLiteral("<div xmlns=\"http://www.w3.org/1999/xhtml\">") + crlf
            + atomContent + QStringLiteral("</div>") + crlf
            + QStringLiteral("</content>") + crlf + QStringLiteral("</entry>") + crlf;
    }
    return feed + QStringLiteral("</feed>");
}

QString WriteRssFeed(const TWebCollection &collection, const QString &remoteRoot, const QString &projectName)
{
    QString feed = xmlDeclaration + crlf
        + QStringLiteral("<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" ") + crlf
        + QStringLiteral("xmlns=\"http://my.netscape.com/rdf/simple/0.9/\">") + crlf
        + QStringLiteral("<channel>") + crlf
        + QStringLiteral("<title>") + FeedText(projectName) + QStringLiteral("</title>") + crlf
        + QStringLiteral("<link>") + remoteRoot + QStringLiteral("</link>") + crlf
        + QStringLiteral("<description></description>") + crlf + QStringLiteral("</channel>") + crlf;
    for (const TWebItem *item : collection.Items) {
        feed += QStringLiteral("<item>") + crlf
            + QStringLiteral("<title>") + FeedText(item->Data.Name) + QStringLiteral("</title>") + crlf
            + QStringLiteral("<link>") + itemAddress(remoteRoot, item->Data.Id) + QStringLiteral("</link>") + crlf
            + QStringLiteral("</item>") + crlf;
    }
    return feed + QStringLiteral("</rdf:RDF>");
}

}
