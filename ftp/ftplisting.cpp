#include "ftp/ftplisting.h"

#include <QRegularExpression>

namespace corvanta {

namespace {

std::optional<FtpListEntry> nonEmpty(FtpListEntry entry)
{
    if (entry.Name.isEmpty())
        return std::nullopt;
    return entry;
}

int monthNumber(const QString &name)
{
    static const QStringList months{"jan", "feb", "mar", "apr", "may", "jun",
                                    "jul", "aug", "sep", "oct", "nov", "dec"};
    return months.indexOf(name.toLower()) + 1;
}

std::optional<FtpListEntry> parseUnix(const QRegularExpressionMatch &m, const QDateTime &now)
{
    FtpListEntry e;
    const QChar kind = m.captured(1)[0];
    e.Type = kind == u'd' ? FtpListEntry::Directory
             : kind == u'l' ? FtpListEntry::Link
                            : FtpListEntry::File;
    e.Size = m.captured(2).toLongLong();
    const int month = monthNumber(m.captured(3));
    const int day = m.captured(4).toInt();
    const QString timeOrYear = m.captured(5);
    if (timeOrYear.contains(u':')) {
        const QTime time = QTime::fromString(timeOrYear.rightJustified(5, u'0'), QStringLiteral("HH:mm"));
        QDateTime dt(QDate(now.date().year(), month, day), time);
        // "ls" leaves the year out for the last six months; a date ahead of now is last year's
        if (dt.isValid() && dt > now.addDays(1))
            dt = QDateTime(QDate(now.date().year() - 1, month, day), time);
        e.Modified = dt;
    } else {
        e.Modified = QDateTime(QDate(timeOrYear.toInt(), month, day), QTime(0, 0));
    }
    e.Name = m.captured(6);
    if (e.Type == FtpListEntry::Link) {
        const qsizetype arrow = e.Name.indexOf(QStringLiteral(" -> "));
        if (arrow >= 0) {
            e.LinkTarget = e.Name.mid(arrow + 4);
            e.Name.truncate(arrow);
        }
        if (e.LinkTarget.endsWith(u'/'))
            e.Type = FtpListEntry::LinkDirectory;
    }
    return nonEmpty(e);
}

std::optional<FtpListEntry> parseDos(const QRegularExpressionMatch &m)
{
    FtpListEntry e;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 70 ? 2000 : 1900;
    int hour = m.captured(4).toInt();
    const QString ampm = m.captured(6).toLower();
    if (ampm == u"pm" && hour < 12)
        hour += 12;
    else if (ampm == u"am" && hour == 12)
        hour = 0;
    e.Modified = QDateTime(QDate(year, m.captured(1).toInt(), m.captured(2).toInt()),
                           QTime(hour, m.captured(5).toInt()));
    if (m.captured(7).compare(u"<DIR>", Qt::CaseInsensitive) == 0)
        e.Type = FtpListEntry::Directory;
    else
        e.Size = m.captured(7).toLongLong();
    e.Name = m.captured(8);
    return nonEmpty(e);
}

}

std::optional<FtpListEntry> ParseMlsdLine(const QString &line)
{
    const qsizetype space = line.indexOf(u' ');
    if (space < 0)
        return std::nullopt;
    FtpListEntry e;
    e.Name = line.mid(space + 1);
    bool typed = false;
    for (const QString &fact : QStringView(line).left(space).toString().split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = fact.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = fact.left(eq).toLower();
        const QString value = fact.mid(eq + 1);
        if (key == u"type") {
            const QString type = value.toLower();
            if (type == u"cdir" || type == u"pdir")
                return std::nullopt;
            typed = true;
            if (type == u"dir")
                e.Type = FtpListEntry::Directory;
            else if (type.startsWith(u"os.unix=slink") || type.startsWith(u"os.unix=symlink"))
                e.Type = FtpListEntry::Link;
        } else if (key == u"size") {
            bool ok = false;
            const qint64 size = value.toLongLong(&ok);
            if (ok && size >= 0)
                e.Size = size;
        } else if (key == u"modify") {
            QDateTime dt = QDateTime::fromString(value.left(14), QStringLiteral("yyyyMMddHHmmss"));
            if (dt.isValid()) {
                dt.setTimeSpec(Qt::UTC);
                e.Modified = dt.toLocalTime();
            }
        } else if (key == u"unique") {
            e.Unique = value;
        }
    }
    if (!typed)
        return std::nullopt;
    return nonEmpty(e);
}

std::optional<FtpListEntry> ParseListLine(const QString &line, const QDateTime &now)
{
    static const QRegularExpression unix(
        QStringLiteral("^([-dlcbps])\\S{9}\\S*\\s+(?:\\S+\\s+)*?(\\d+)\\s+"
                       "(jan|feb|mar|apr|may|jun|jul|aug|sep|oct|nov|dec)\\s+(\\d{1,2})\\s+"
                       "(\\d{1,2}:\\d{2}|\\d{4})\\s(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dos(
        QStringLiteral("^(\\d{2})-(\\d{2})-(\\d{2}|\\d{4})\\s+(\\d{1,2}):(\\d{2})\\s*(am|pm)?\\s+"
                       "(<dir>|\\d+)\\s+(.+)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = unix.match(line); m.hasMatch())
        return parseUnix(m, now);
    if (const auto m = dos.match(line); m.hasMatch())
        return parseDos(m);
    return std::nullopt;
}

}
