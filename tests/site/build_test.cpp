#include "common/tempdir.h"
#include "projectrows.h"
#include "site/buildlog.h"
#include "site/buildproject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::site;
using namespace corvanta::test;

namespace {

class Build : public ::testing::Test, public ProjectRows
{
protected:
    Build() : ProjectRows(db) {}

    // Builds a project into out/ and keeps the log lines it wrote.
    TBuildReport build(int projectId)
    {
        finish();
        db.dm().SelectProject(projectId);
        ConsoleLog = true;
        testing::internal::CaptureStdout();
        auto keepLog = qScopeGuard([&] {
            log = QString::fromStdString(testing::internal::GetCapturedStdout()).split('\n', Qt::SkipEmptyParts);
            ConsoleLog = false;
        });
        return BuildProject(db.dm(), out());
    }

    QString out(const QString &name = {}) const { return dir.path("out/") + name; }

    QByteArray read(const QString &name) const
    {
        QFile f(out(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TestDatabase db;
    TempDir dir;
    QStringList log;
};

QStringList lines(const QByteArray &bytes)
{
    QStringList result = QString::fromLatin1(bytes).split("\r\n");
    EXPECT_EQ(result.takeLast(), ""); // every line, the last one too, ends with CR LF
    return result;
}

}

TEST_F(Build, FeedsLineForLine)
{
    project(1, "Caf\u00e9 & <Co>", {}, "https://ex.org/");
    page(2, 1, "index.html");
    collection(3, 1, "NEWS", 1, 0, 2);
    item(4, 1, "A & B < C &amp; \U0001F600");
    db.exec("update cms_data set data_abstract = 'd\u00e9j\u00e0 vu' where data_id = 4");
    item(5, 1, "Zed");
    db.exec("update cms_data set data_abstract = null where data_id = 5");
    member(3, 4);
    member(3, 5);
    templ(6, 1, "ATOM");
    db.exec("update cms_template set template_body = '<p>%DATE%%TAG% %pic.png% \u00fc</p>' where template_id = 6");
    show(3, 6);
    snippet(7, 1, "TAG", "tagged");
    QDir().mkpath(out("images"));
    QFile(out("images/pic.png")).open(QIODevice::WriteOnly);

    build(1);

    // Every entry holds the whole collection through the ATOM template, after the snippet and
    // image passes, with absolute image addresses and non-ASCII text as references.
    const QString content = "<p>tagged <img src=\"https://ex.org/images/pic.png\" border=\"0\" alt=\"pic.png\" /> &#252;</p>";
    QStringList expected = {
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
        "<feed xmlns=\"http://www.w3.org/2005/Atom\">",
        "<title>Caf&#233; &amp; &lt;Co&gt;</title>",
        "<id>https://ex.org/</id>",
        "<updated>U</updated>",
        "<author>",
        " <name>anonymous</name> ",
        "</author>",
        "<link rel=\"self\" href=\"NEWS-atom.xml\" />",
    };
    for (const auto &[id, title, summary] : {std::tuple{4, "A &amp; B &lt; C &amp; &#128512;", "d&#233;j&#224; vu"},
                                             std::tuple{5, "Zed", ""}}) {
        const QString address = QString("https://ex.org/index.html#item_%1").arg(id);
        expected << "<entry>" << QString("<title>%1</title>").arg(title) << "<id>" + address + "</id>"
                 << "<updated>U</updated>" << "<link href=\"" + address + "\"/>"
                 << QString("<summary>%1</summary>").arg(summary)
                 << "<content type=\"xhtml\" xml:base=\"https://corvanta.invalid/\">"
                 << "<div xmlns=\"http://www.w3.org/1999/xhtml\">" << "" << content << content << "" << "</div>"
                 << "</content>" << "</entry>";
    }
    expected << "</feed>";
    QStringList atom = lines(read("NEWS-atom.xml"));
    const QRegularExpression updateTime("<updated>\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d)</updated>");
    for (QString &line : atom)
        line.replace(updateTime, "<updated>U</updated>");
    EXPECT_EQ(atom, expected);

    EXPECT_EQ(lines(read("NEWS.rdf.xml")),
              (QStringList{"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
                           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" ",
                           "xmlns=\"http://my.netscape.com/rdf/simple/0.9/\">", "<channel>",
                           "<title>Caf&#233; &amp; &lt;Co&gt;</title>", "<link>https://ex.org/</link>",
                           "<description></description>", "</channel>", "<item>",
                           "<title>A &amp; B &lt; C &amp; &#128512;</title>",
                           "<link>https://ex.org/index.html#item_4</link>", "</item>", "<item>", "<title>Zed</title>",
                           "<link>https://ex.org/index.html#item_5</link>", "</item>", "</rdf:RDF>"}));
}

TEST_F(Build, StepsRunInOrderAndTheManifestListsWhatWasWrittenAndReferenced)
{
    const QString download = dir.path("guide.txt");
    QFile(download).open(QIODevice::WriteOnly);
    project(1, "Site", 3);
    page(2, 1, "about.html", "<p>About \u00e9</p>");
    page(3, 1, "index.html", "%NEWS_Full%");
    collection(4, 1, "NEWS", 0, 0, 3);
    item(5, 1, "With file", {}, download);
    item(6, 1, "Missing file", {}, "  " + dir.path("gone.txt") + " ");
    member(4, 5);
    templ(7, 1, "Full");
    show(4, 7);

    const TBuildReport report = build(1);
    EXPECT_EQ(report.FilesWritten, 3);
    EXPECT_TRUE(report.LoadErrors.isEmpty());
    const QStringList expected = {"Add files", "Get Hyperlinks", "Progress 11", download, dir.path("gone.txt"),
                                  "The file " + dir.path("gone.txt") + " (for Web Item \"Missing file\") does not exist",
                                  "Progress 12", "Progress 13", "Replace Snippets in about.html",
                                  "Replace Snippets in index.html", "Progress 14", out("about.html") + " saved.",
                                  out("index.html") + " saved.", "Build complete"};
    const qsizetype start = log.indexOf("Add files");
    ASSERT_GE(start, 0);
    EXPECT_EQ(log.mid(start, expected.size()), expected);

    const QByteArray page = read("about.html");
    EXPECT_TRUE(page.startsWith("<?xml")) << "no byte-order mark";
    EXPECT_TRUE(page.endsWith("  </body>\r\n</html>\r\n"));
    EXPECT_TRUE(page.contains("\r\n<p>About \xc3\xa9</p>\r\n  </body>"));
    EXPECT_FALSE(QFile::exists(out("NEWS-atom.xml"))); // NEWS has no ATOM template
    EXPECT_TRUE(QFile::exists(out("NEWS.rdf.xml")));
}

TEST_F(Build, APageThatCannotBeWrittenStopsTheBuildAndKeepsEarlierFiles)
{
    project(1, "Site");
    page(2, 1, "a.html");
    page(3, 1, "missing/b.html");
    page(4, 1, "c.html");
    collection(5, 1, "NEWS", 0, 0);
    EXPECT_THROW(build(1), std::exception);
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.last().startsWith("Build failed Cannot write " + out("missing/b.html"))) << log.last().toStdString();
    EXPECT_FALSE(log.contains("Build complete"));
    EXPECT_TRUE(QFile::exists(out("a.html")));
    EXPECT_TRUE(QFile::exists(out("NEWS.rdf.xml")));
    EXPECT_FALSE(QFile::exists(out("c.html")));
    EXPECT_TRUE(QDir(out()).entryList(QDir::Files | QDir::Hidden).size() == 2) << "no temporary file is left";
}

TEST_F(Build, NothingIsWrittenOutsideTheOutputFolder)
{
    const struct
    {
        const char *projectName;
        const char *pageName;
        const char *named;
    } cases[] = {
        {"Site", "../evil.html", "../evil.html"}, {"Site", "/tmp/evil.html", "/tmp/evil.html"},
        {"Site", "sub/../../evil.html", "sub/../../evil.html"}, {"", "index.html", "\"\""},
        {"..", "index.html", "\"..\""}, {"a/b", "index.html", "\"a/b\""},
    };
    int id = 1;
    for (const auto &c : cases) {
        project(id, c.projectName);
        page(id + 1, id, "index.html");
        page(id + 2, id, c.pageName);
        collection(id + 3, id, "NEWS", 0, 0);
        try {
            build(id);
            ADD_FAILURE() << c.projectName << " / " << c.pageName << " must not build";
        } catch (const std::exception &e) {
            EXPECT_TRUE(QString(e.what()).contains(c.named)) << e.what();
        }
        EXPECT_TRUE(QDir(out()).entryList(QDir::Files).isEmpty()) << c.pageName;
        EXPECT_FALSE(QFile::exists(dir.path("evil.html")));
        id += 10;
    }
}

TEST_F(Build, UnchangedFilesAreNotRewritten)
{
    project(1, "Site");
    page(2, 1, "index.html", "<p>one</p>");
    page(3, 1, "about.html", "<p>about</p>");
    build(1);
    const QDateTime old(QDate(2001, 1, 1), QTime(0, 0));
    for (const char *name : {"index.html", "about.html"}) {
        QFile f(out(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    db.exec("update cms_page set page_body = '<p>two</p>' where page_id = 2");
    const TBuildReport again = build(1);
    EXPECT_EQ(again.FilesWritten, 2);
    EXPECT_GT(QFileInfo(out("index.html")).lastModified(), old);
    EXPECT_EQ(QFileInfo(out("about.html")).lastModified(), old);
    EXPECT_TRUE(read("index.html").contains("<p>two</p>"));
}

TEST_F(Build, AnIncompleteLoadIsReportedWithTheBuild)
{
    project(1, "Other");
    item(2, 1, "foreign");
    project(3, "Site");
    page(4, 3, "index.html");
    collection(5, 3, "A", 0, 0);
    member(5, 2);
    const TBuildReport report = build(3);
    ASSERT_EQ(report.LoadErrors.size(), 1);
    EXPECT_TRUE(report.LoadErrors[0].startsWith("Part6 "));
    EXPECT_EQ(report.FilesWritten, 1);
    EXPECT_TRUE(log.contains("Build complete"));
}
