#include "common/tempdir.h"
#include "db/corvantadm.h"
#include "site/buildproject.h"
#include "site/corvantabuilder.h"
#include "site/u_factory.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace corvanta;
using corvanta::test::TempDir;

namespace {

struct CliRun
{
    int exitCode;
    QString out;
    QString err;
};

CliRun cli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(CORVANTA_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QStringList names(const QList<site::TWebItem *> &items)
{
    QStringList result;
    for (const site::TWebItem *i : items)
        result << i->Data.Name;
    return result;
}

}

TEST(CliInitDb, CreatesTheSampleProjectWhichLoadsCompletely)
{
    TempDir dir;
    const QString path = dir.path("sample.fdb");
    const CliRun init = cli({"init-db", "--database", path, "--sample"});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(init.out.contains(path));

    const CliRun check = cli({"check", "--database", path, "--project", "Corvanta Sample"});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains("2 pages, 3 collections, 7 items, 5 templates, 4 snippets, 2 linking items"))
        << check.out.toStdString();

    db::TDataMod dm(path);
    dm.Connect();
    ASSERT_TRUE(dm.SelectFirstProject());
    site::TCorvantaBuilder builder;
    site::PrepareBuilder(builder, dm);
    auto &f = static_cast<site::TWebFactory &>(*builder.GetFactory());
    f.Load();
    EXPECT_EQ(f.HomePage->FileName, "index.html");
    site::TWebCollection *news = nullptr;
    for (site::TWebCollection *c : *f.Collections) {
        if (c->Code == "NEWS")
            news = c;
    }
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(names(news->Items), (QStringList{"Corvanta 2.0 released", "News feeds for everyone", "Welcome"}));
    EXPECT_NE(f.Templates->FindByName("%DOCS_LINKS%"), nullptr);
    EXPECT_NE(f.Templates->FindByName("ATOM"), nullptr);
    EXPECT_EQ(f.FindLink(news, news->Items[0])->Groups[0]->Entries.size(), 2);
    bool sawFile = false;
    for (site::TWebItem *item : *f.Items) {
        if (!item->Data.FileData.FileName.isEmpty()) {
            sawFile = true;
            EXPECT_TRUE(QFileInfo(item->Data.FileData.FileName).isFile());
            EXPECT_TRUE(item->Data.FileData.FileName.startsWith(dm.OutputFolder() + "download/"));
        }
    }
    EXPECT_TRUE(sawFile);
}

TEST(CliInitDb, RefusesAnExistingDatabaseAndBadArguments)
{
    TempDir dir;
    const QString path = dir.path("existing.fdb");
    ASSERT_EQ(cli({"init-db", "--database", path}).exitCode, 0);
    const QDateTime written = QFileInfo(path).lastModified();
    const CliRun again = cli({"init-db", "--database", path});
    EXPECT_NE(again.exitCode, 0);
    EXPECT_TRUE(again.err.contains("already exists")) << again.err.toStdString();
    EXPECT_EQ(QFileInfo(path).lastModified(), written);

    const struct
    {
        QStringList args;
        const char *message;
    } cases[] = {
        {{"init-db", "--frobnicate"}, "Unknown option"},
        {{"check", "--database", dir.path("missing.fdb")}, "does not exist"},
        {{"check", "--database", path}, "holds no project"},
        {{"check", "--database", path, "--project", "Nothing"}, "no project named \"Nothing\""},
        {{"no-such-command"}, "unknown command"},
    };
    for (const auto &c : cases) {
        const CliRun run = cli(c.args);
        EXPECT_NE(run.exitCode, 0) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

namespace {

CliRun tool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}

// The sample site is what a new user sees first: every page must be valid XHTML 1.0
// Transitional and both feeds well-formed XML that a feed reader takes.
TEST(CliBuild, TheSampleSiteIsValidXhtmlWithWellFormedFeeds)
{
    TempDir dir;
    const QString path = dir.path("sample.fdb");
    const QString out = dir.path("site");
    ASSERT_EQ(cli({"init-db", "--database", path, "--sample"}).exitCode, 0);
    const CliRun build = cli({"build", "--database", path, "--output", out});
    ASSERT_EQ(build.exitCode, 0) << build.err.toStdString();
    EXPECT_TRUE(build.out.contains("Build complete: 4 files in " + out + "/")) << build.out.toStdString();

    for (const char *page : {"index.html", "about.html"}) {
        const CliRun lint = tool("xmllint", {"--valid", "--nonet", "--noout", out + "/" + page});
        EXPECT_EQ(lint.exitCode, 0) << page << ": " << lint.err.toStdString();
        EXPECT_EQ(lint.err, "") << page;
    }
    const QString reader = QStringLiteral(
        "import sys, xml.etree.ElementTree as ET\n"
        "raw = open(sys.argv[1], 'rb').read()\n"
        "assert all(b < 128 for b in raw), 'not ASCII'\n"
        "root = ET.fromstring(raw)\n"
        "ns = {'a': 'http://www.w3.org/2005/Atom', 'r': 'http://my.netscape.com/rdf/simple/0.9/'}\n"
        "entries = root.findall('a:entry', ns) or root.findall('r:item', ns)\n"
        "print(root.tag, len(entries), entries[0].find('a:title', ns).text if root.tag.endswith('feed') "
        "else entries[0].find('r:title', ns).text)\n");
    const CliRun atom = tool("python3", {"-c", reader, out + "/NEWS-atom.xml"});
    EXPECT_EQ(atom.exitCode, 0) << atom.err.toStdString();
    EXPECT_EQ(atom.out.trimmed(), "{http://www.w3.org/2005/Atom}feed 3 Corvanta 2.0 released");
    const CliRun rss = tool("python3", {"-c", reader, out + "/NEWS.rdf.xml"});
    EXPECT_EQ(rss.exitCode, 0) << rss.err.toStdString();
    EXPECT_EQ(rss.out.trimmed(), "{http://www.w3.org/1999/02/22-rdf-syntax-ns#}RDF 3 Corvanta 2.0 released");
}

TEST(CliBuild, FailuresAndIncompleteLoadsExitNonZero)
{
    TempDir dir;
    const QString path = dir.path("sample.fdb");
    ASSERT_EQ(cli({"init-db", "--database", path, "--sample"}).exitCode, 0);
    {
        db::TDataMod dm(path);
        dm.Connect();
        // A membership row whose item belongs to another project cannot be loaded.
        auto add = dm.NewQuery("insert into cms_project (project_id, project_name) values (900, 'Other')");
        add->execute();
        add->setSql("insert into cms_data (data_id, fk_project_id, data_name) values (901, 900, 'x')");
        add->execute();
        add->setSql("insert into cms_collection_data (fk_collection_id, fk_data_id) "
                    "select collection_id, 901 from cms_collection where collection_code = 'NEWS'");
        add->execute();
        add->setSql("insert into cms_project (project_id) values (902)");
        add->execute();
    }
    const CliRun incomplete = cli({"build", "--database", path, "--project", "Corvanta Sample", "--output", dir.path("a")});
    EXPECT_NE(incomplete.exitCode, 0);
    EXPECT_TRUE(incomplete.out.contains("Build complete"));
    EXPECT_TRUE(incomplete.err.contains("Part6 ")) << incomplete.err.toStdString();

    const CliRun unnamed = cli({"build", "--database", path, "--project", "902", "--output", dir.path("b")});
    EXPECT_NE(unnamed.exitCode, 0);
    EXPECT_TRUE(unnamed.err.contains("The project name \"\"")) << unnamed.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.path("b")));

    QFile blocker(dir.path("file"));
    blocker.open(QIODevice::WriteOnly);
    const CliRun blocked = cli({"build", "--database", path, "--project", "Other", "--output", dir.path("file/site")});
    EXPECT_NE(blocked.exitCode, 0);
    EXPECT_TRUE(blocked.err.contains("Cannot create the output folder")) << blocked.err.toStdString();
}
