// The reply and listing parsers, the message formatter and the progress arithmetic: the
// pieces that need no server.
#include "ftp/ftpbatchprocessing.h"
#include "ftp/ftplisting.h"
#include "ftp/ftpreply.h"
#include "ftp/ftptext.h"
#include "ftp/ftptransferprogress.h"

#include "ftpserver.h"

#include <gtest/gtest.h>

using namespace corvanta;

namespace {

FtpReply parseReply(const QStringList &lines, int *used = nullptr)
{
    FtpReplyParser parser;
    int n = 0;
    for (const QString &line : lines) {
        ++n;
        if (parser.AddLine(line)) {
            if (used)
                *used = n;
            return parser.Take();
        }
    }
    ADD_FAILURE() << "reply not complete";
    return {};
}

TEST(FtpReplyParser, SingleAndMultiLineReplies)
{
    const struct
    {
        QStringList lines;
        int code;
        QStringList text;
        int used;
    } cases[] = {
        {{"220 Ready"}, 220, {"Ready"}, 1},
        {{"200"}, 200, {""}, 1},
        {{"211-Features:", " MLST type*;", " UTF8", "211 End"}, 211, {"Features:", " MLST type*;", " UTF8", "End"}, 4},
        // a line with another code or a same-code continuation does not end the reply
        {{"250-Computing", "250-more", "200 not the end", "250 ABCDEF", "226 next"}, 250,
         {"Computing", "more", "200 not the end", "ABCDEF"}, 4},
    };
    for (const auto &c : cases) {
        int used = 0;
        const FtpReply reply = parseReply(c.lines, &used);
        EXPECT_EQ(reply.Code, c.code);
        EXPECT_EQ(reply.Text, c.text);
        EXPECT_EQ(used, c.used);
    }
    EXPECT_EQ(parseReply({"220-Welcome ", "220  to the server "}).Formatted(), "220 Welcome   to the server");
}

TEST(FtpReplyParser, RejectsLinesWithoutACode)
{
    for (const char *line : {"", "hello", "22 short", "abc def", "2200 wide", "220x"}) {
        FtpReplyParser parser;
        EXPECT_THROW(parser.AddLine(line), FtpError) << line;
    }
}

TEST(FtpListing, UnixLines)
{
    const QDateTime now(QDate(2024, 3, 10), QTime(12, 0));
    const struct
    {
        QString line;
        QString name;
        FtpListEntry::Kind kind;
        qint64 size;
        QDateTime modified;
        QString target;
    } cases[] = {
        {"-rw-r--r--   1 user  group     1234 Mar  1 09:05 index.html", "index.html", FtpListEntry::File, 1234,
         QDateTime(QDate(2024, 3, 1), QTime(9, 5)), ""},
        {"drwxr-xr-x   2 user  group     4096 Dec 24  2022 old stuff", "old stuff", FtpListEntry::Directory, 4096,
         QDateTime(QDate(2022, 12, 24), QTime(0, 0)), ""},
        // a date without a year that would lie ahead of now belongs to last year
        {"-rw-r--r-- 1 u g 7 Nov 30 23:59 nov.txt", "nov.txt", FtpListEntry::File, 7,
         QDateTime(QDate(2023, 11, 30), QTime(23, 59)), ""},
        {"lrwxrwxrwx 1 u g 11 Mar  1 10:00 www -> public_html", "www", FtpListEntry::Link, 11,
         QDateTime(QDate(2024, 3, 1), QTime(10, 0)), "public_html"},
        {"lrwxrwxrwx 1 u g 4 Mar  1 10:00 up -> ../", "up", FtpListEntry::LinkDirectory, 4,
         QDateTime(QDate(2024, 3, 1), QTime(10, 0)), "../"},
        // no group column; a name that itself looks like a date
        {"-rw-r--r-- 1 owner 99 Jan  5 2020  12 Jan 1 2020 x", " 12 Jan 1 2020 x", FtpListEntry::File, 99,
         QDateTime(QDate(2020, 1, 5), QTime(0, 0)), ""},
    };
    for (const auto &c : cases) {
        const auto e = ParseListLine(c.line, now);
        ASSERT_TRUE(e.has_value()) << c.line.toStdString();
        EXPECT_EQ(e->Name, c.name) << c.line.toStdString();
        EXPECT_EQ(e->Type, c.kind) << c.line.toStdString();
        EXPECT_EQ(e->Size, c.size) << c.line.toStdString();
        EXPECT_EQ(e->Modified, c.modified) << c.line.toStdString();
        EXPECT_EQ(e->LinkTarget, c.target) << c.line.toStdString();
    }
}

TEST(FtpListing, DosLines)
{
    const struct
    {
        QString line;
        QString name;
        bool dir;
        qint64 size;
        QDateTime modified;
    } cases[] = {
        {"01-15-24  03:45PM       <DIR>          My Folder", "My Folder", true, -1,
         QDateTime(QDate(2024, 1, 15), QTime(15, 45))},
        {"12-31-99  12:10AM                 1024 y2k.txt", "y2k.txt", false, 1024,
         QDateTime(QDate(1999, 12, 31), QTime(0, 10))},
        {"02-29-2024  13:00               5 leap.txt", "leap.txt", false, 5,
         QDateTime(QDate(2024, 2, 29), QTime(13, 0))},
    };
    for (const auto &c : cases) {
        const auto e = ParseListLine(c.line);
        ASSERT_TRUE(e.has_value()) << c.line.toStdString();
        EXPECT_EQ(e->Name, c.name);
        EXPECT_EQ(e->IsDirectory(), c.dir);
        EXPECT_EQ(e->Size, c.size);
        EXPECT_EQ(e->Modified, c.modified);
    }
}

TEST(FtpListing, LinesThatAreNoEntries)
{
    for (const char *line : {"", "total 48", "garbage line", "-rw-r--r-- 1 u g 5 Foo 1 10:00 x",
                                "-rw-r--r-- 1 u g 5 Mar 1 10:00 ", "13-45-24  03:45PM  <DIR>"})
        EXPECT_FALSE(ParseListLine(line).has_value()) << line;
    for (const char *line : {"", "type=file;size=3;", "size=3; nameless-type", "type=cdir; /pub", "type=pdir; ..",
                                "type=file;size=1; "})
        EXPECT_FALSE(ParseMlsdLine(line).has_value()) << line;
}

TEST(FtpListing, MlsdLines)
{
    auto e = ParseMlsdLine("modify=20240301120000.123;perm=r;size=42;type=file;unique=AB1; name with ; semi");
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->Name, "name with ; semi");
    EXPECT_EQ(e->Size, 42);
    EXPECT_EQ(e->Unique, "AB1");
    EXPECT_EQ(e->Modified, QDateTime(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC).toLocalTime());
    e = ParseMlsdLine("Type=DIR;Modify=bad; sub");
    ASSERT_TRUE(e.has_value());
    EXPECT_TRUE(e->IsDirectory());
    EXPECT_FALSE(e->Modified.isValid());
    e = ParseMlsdLine("type=OS.unix=slink:/target;size=x; link");
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->Type, FtpListEntry::Link);
    EXPECT_EQ(e->Size, -1);
}

TEST(FtpText, FormatsIndexedAndSequentialPlaceholders)
{
    const struct
    {
        QString pattern;
        QStringList args;
        QString out;
    } cases[] = {
        {"Connecting to %0:s as %1:s", {"h", "u"}, "Connecting to h as u"},
        {"%1:s before %0:s", {"a", "b"}, "b before a"},
        {"Put %s", {"x/y.txt"}, "Put x/y.txt"},
        {"%0:s%1:s at %2:s", {"50", "%", "1.5"}, "50% at 1.5"},
        {"100%% sure %s", {"ok"}, "100% sure ok"},
        {"missing %s %s", {"one"}, "missing one %s"},
        {"arg holds %0:s", {"%1:s"}, "arg holds %1:s"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatText(c.pattern, c.args), c.out) << c.pattern.toStdString();
}

TEST(TExtraFileData, SizeInKilobytesAndDirectoryKinds)
{
    const std::pair<qint64, qint64> sizes[] = {{0, 0}, {1, 1}, {1024, 1}, {1025, 2}, {-1, 0}, {1500, 2}};
    for (const auto &[bytes, kb] : sizes) {
        TExtraFileData d;
        d.Size = bytes;
        EXPECT_EQ(d.SizeKB(), kb) << bytes;
    }
    TExtraFileData d;
    d.IsDirectory = true;
    for (const auto &[name, real, parent] : {std::tuple{"..", false, true}, {".", false, false}, {"sub", true, false}}) {
        d.Name = name;
        EXPECT_EQ(d.IsRealDirectory(), real) << name;
        EXPECT_EQ(d.IsParentEntry(), parent) << name;
    }
}

TEST(TProgressIndicator, StatsFromDoneAndElapsedTicks)
{
    corvanta::test::EnsureCoreApplication();
    quint32 now = 5000;
    TProgressIndicator p;
    p.Ticks = [&] { return now; };
    p.SetMaximum(10000);
    p.Start();
    TProgressStats s;
    p.GetStats(0, s);
    EXPECT_EQ(s.Percent, 0);
    EXPECT_EQ(s.Speed, 0);
    EXPECT_EQ(s.Remaining, 0);
    EXPECT_FALSE(s.Changed);

    now += 3; // 2500 bytes in 3 ms: 834 per ms, 834001 per second
    p.GetStats(2500, s);
    EXPECT_EQ(s.Percent, 25);
    EXPECT_DOUBLE_EQ(s.Speed, 814.4541);
    EXPECT_DOUBLE_EQ(s.Remaining, 1.0 / 86400);
    EXPECT_TRUE(s.Changed);
    p.GetStats(2500, s);
    EXPECT_FALSE(s.Changed);
    p.GetStats(2501, s); // rounds up to 26
    EXPECT_EQ(s.Percent, 26);
    EXPECT_TRUE(s.Changed);

    // the tick counter wraps around without harm
    now = 0xFFFFFFF0u;
    p.Start();
    now = 10;
    p.GetStats(10000, s);
    EXPECT_EQ(s.Percent, 100);
    EXPECT_EQ(s.Remaining, 0);
}

TEST(TProgressIndicator, EventsOnlyForNewPositions)
{
    TProgressIndicator p;
    QList<std::pair<qint64, qint64>> events;
    p.SetOnProgress([&](IProgressIndicator *sender, qint64 pos, qint64 max) {
        EXPECT_EQ(sender, &p);
        events << std::pair{pos, max};
    });
    p.SetMaximum(8);
    p.SetPosition(3);
    p.SetPosition(3);
    p.SetMaximum(9); // back to 0 without an event
    p.SetPosition(0);
    p.SetPosition(9);
    EXPECT_EQ(events, (QList<std::pair<qint64, qint64>>{{3, 8}, {9, 9}}));
}

}
