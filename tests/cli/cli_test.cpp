#include "common/tempdir.h"
#include "db/corvantadm.h"
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
    builder.SetDatabase(&dm.IBDBCorvanta);
    builder.SetTransaction(&dm.IBTransaction1);
    builder.SetProjectId(dm.CurrentProjectId());
    builder.CreateFactory();
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
