#include "projectrows.h"
#include "site/buildlog.h"
#include "site/corvantabuilder.h"
#include "site/u_factory.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::site;
using namespace corvanta::test;

namespace {

class Loader : public ::testing::Test, public ProjectRows
{
protected:
    Loader() : ProjectRows(db) {}

    // Loads a project; the log lines written meanwhile land in `log`.
    TWebFactory &load(int projectId)
    {
        finish();
        builder.SetDatabase(&db.dm().IBDBCorvanta);
        builder.SetTransaction(&db.dm().IBTransaction1);
        builder.SetProjectId(projectId);
        builder.CreateFactory();
        ConsoleLog = true;
        testing::internal::CaptureStdout();
        try {
            builder.GetFactory()->Load();
        } catch (...) {
            log = QString::fromStdString(testing::internal::GetCapturedStdout()).split('\n', Qt::SkipEmptyParts);
            ConsoleLog = false;
            throw;
        }
        log = QString::fromStdString(testing::internal::GetCapturedStdout()).split('\n', Qt::SkipEmptyParts);
        ConsoleLog = false;
        return static_cast<TWebFactory &>(*builder.GetFactory());
    }

    static QStringList names(const QList<TWebItem *> &items)
    {
        QStringList result;
        for (const TWebItem *i : items)
            result << i->Data.Name;
        return result;
    }

    TestDatabase db;
    TCorvantaBuilder builder;
    QStringList log;
};

}

// One project that exercises every step: three collections with different sort orders, items
// in several collections, templates, snippets and links with a repeated detail.
TEST_F(Loader, ReadsAWholeProjectInTenSteps)
{
    const QString file = db.path() + ".download";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1536, 'z'));
    }
    project(100, "Site", 102);
    page(101, 100, "about.html", "  \r\n<p>About</p>\t ");
    page(102, 100, "index.html", "<p>Home</p>", " <link rel=\"x\" />\n");
    collection(110, 100, "  NEWS \t", 2, 1, 102);
    collection(111, 100, "DOCS", 1, 0);
    collection(112, 100, "SEQ", 7, 2, 101);
    item(120, 100, "Charlie", QDateTime(QDate(2026, 1, 3), QTime(10, 0)), file);
    item(121, 100, "alpha", QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    item(122, 100, "Bravo");
    item(123, 100, "Delta", QDateTime(QDate(2026, 1, 2), QTime(9, 0)));
    for (int id : {120, 121, 122})
        member(110, id);
    for (int id : {121, 123, 120})
        member(111, id);
    member(112, 122, 2);
    member(112, 123, 1);
    templ(130, 100, "Full");
    templ(131, 100, "ATOM");
    templ(132, 100, "%DOCS_LINKS%");
    show(110, 130);
    show(110, 131);
    show(111, 130);
    snippet(140, 100, "HEADER", "<h1>");
    link(110, 120, 111, 121, 2);
    link(110, 120, 111, 123, 1);
    link(110, 120, 111, 121, 3);
    link(110, 120, 110, 122, 4);
    link(111, 123, 110, 120, 1);

    TWebFactory &f = load(100);

    EXPECT_EQ(f.ProjectName, "Site");
    EXPECT_EQ(f.RemoteRoot, "https://example.org/");
    EXPECT_EQ(f.HomePageId, 102);
    ASSERT_EQ(f.Pages->Count(), 2);
    EXPECT_EQ(f.HomePage, f.Pages->FindById(102));
    EXPECT_TRUE(f.HomePage->IsHome);
    EXPECT_FALSE(f.Pages->FindById(101)->IsHome);
    EXPECT_EQ(f.Pages->FindById(101)->Body, "<p>About</p>");
    EXPECT_EQ(f.HomePage->HeadTags, "<link rel=\"x\" />");
    EXPECT_EQ(f.HomePage->Title, "Title");

    ASSERT_EQ(f.Collections->Count(), 3);
    TWebCollection *news = f.Collections->getItem(110);
    TWebCollection *docs = f.Collections->getItem(111);
    TWebCollection *seq = f.Collections->getItem(112);
    EXPECT_EQ(news->Code, "NEWS");
    EXPECT_EQ(news->SortBy, 2);
    EXPECT_TRUE(news->SortDesc);
    EXPECT_EQ(seq->SortBy, 0);
    EXPECT_FALSE(seq->SortDesc);
    EXPECT_EQ(news->Data.HomePage, f.HomePage);
    EXPECT_EQ(docs->Data.HomePage, nullptr);

    EXPECT_EQ(names(news->Items), (QStringList{"Charlie", "alpha", "Bravo"}));
    EXPECT_EQ(names(docs->Items), (QStringList{"Charlie", "Delta", "alpha"}));
    EXPECT_EQ(names(seq->Items), (QStringList{"Delta", "Bravo"}));

    TWebItem *charlie = f.Items->FindByKey("120");
    EXPECT_EQ(charlie->Data.Url, "https://example.org/Charlie");
    EXPECT_EQ(charlie->Data.Text, "{\\rtf1 Charlie}");
    EXPECT_EQ(charlie->Data.Abstract, "abstract");
    EXPECT_EQ(charlie->Data.DateTime, QDateTime(QDate(2026, 1, 3), QTime(10, 0)));
    EXPECT_EQ(charlie->Data.FileData.SizeKB, 2);
    EXPECT_TRUE(isZeroDateTime(f.Items->FindByKey("122")->Data.DateTime));
    // The home page comes from the last collection holding the item, also when it has none.
    EXPECT_EQ(charlie->Data.HomePage, nullptr);
    EXPECT_EQ(f.Items->FindByKey("122")->Data.HomePage, f.Pages->FindById(101));
    EXPECT_EQ(charlie->Data.Collections, (QList<TWebCollection *>{news, docs}));

    ASSERT_EQ(f.StyledCollections->Count(), 3);
    EXPECT_EQ((*f.StyledCollections)[0]->Collection, news);
    EXPECT_EQ((*f.StyledCollections)[1]->Template->Name, "ATOM");
    EXPECT_EQ((*f.StyledCollections)[2]->Collection, docs);
    EXPECT_EQ(f.Snippets->FindByKey("header")->Text, "<h1>");
    EXPECT_EQ(f.Templates->FindByKey("131")->Name, "ATOM");

    ASSERT_EQ(f.Links->Count(), 2);
    TWebItemLink *newsLink = f.FindLink(news, charlie);
    ASSERT_NE(newsLink, nullptr);
    EXPECT_EQ(f.FindLink(docs, charlie), nullptr);
    EXPECT_EQ(newsLink->Details.Count(), 4);
    ASSERT_EQ(newsLink->Groups.Count(), 2);
    EXPECT_EQ(newsLink->Groups[0]->Collection, docs);
    EXPECT_EQ(newsLink->Groups[0]->Template, f.Templates->FindByName("%DOCS_LINKS%"));
    ASSERT_EQ(newsLink->Groups[0]->Entries.size(), 2);
    EXPECT_EQ(newsLink->Groups[0]->Entries[0].second->Data.Name, "Delta");
    EXPECT_EQ(newsLink->Groups[0]->Entries[1].second->Data.Name, "alpha");
    EXPECT_EQ(newsLink->Groups[1]->Template, nullptr);
    EXPECT_TRUE(f.LoadErrors().isEmpty());

    const QStringList expectedStart = {"--- Load started ---", "Entering Part 1", "Entering Part 2", "Entering Part 3",
                                       "Entering Part 4", "Entering Part 5", "Entering Part 6", "Entering Part 7",
                                       "Entering Part 8", "Collection \"NEWS\" contains:", "Charlie", "alpha", "Bravo",
                                       "Collection \"DOCS\" contains:", "Charlie", "alpha", "Delta",
                                       "Collection \"SEQ\" contains:", "Bravo", "Delta", "Entering Part 9",
                                       "Entering Part 10", "look for %DOCS_LINKS%", "look for %NEWS_LINKS%"};
    EXPECT_EQ(log.mid(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(log.mid(log.size() - 2), (QStringList{"Leaving Part 10", "--- Load complete ---"}));
}

TEST(LoaderStatement, SortClauseFollowsTheCollection)
{
    const QString head = "select * from cms_collection_data join cms_data on data_id = fk_data_id "
                         "where fk_collection_id = :collection_id order by ";
    EXPECT_EQ(CollectionMembersSql(0, false), head + "data_sequence ");
    EXPECT_EQ(CollectionMembersSql(1, true), head + "data_name desc");
    EXPECT_EQ(CollectionMembersSql(2, true), head + "data_datetime desc");
}

TEST_F(Loader, ProjectWithoutPagesHasNoHomePage)
{
    project(100, "Other");
    page(101, 100, "index.html");
    project(200, "Empty", 101);
    collection(210, 200, "NEWS", 0, 0, 101); // a page of another project
    TWebFactory &f = load(200);
    EXPECT_EQ(f.Pages->Count(), 0);
    EXPECT_EQ(f.HomePage, nullptr);
    EXPECT_EQ(f.Collections->getItem(210)->Data.HomePage, nullptr);
}

TEST_F(Loader, FirstPageIsTheHomePageWhenTheProjectNamesNoneOfItsOwn)
{
    project(100, "Other");
    page(101, 100, "index.html");
    project(300, "Site", 101);
    page(301, 300, "a.html");
    page(302, 300, "b.html");
    TWebFactory &f = load(300);
    ASSERT_NE(f.HomePage, nullptr);
    EXPECT_EQ(f.HomePage->Id, 301);
    EXPECT_FALSE(f.HomePage->IsHome);
}

TEST_F(Loader, AMemberFromAnotherProjectFailsStepSixButTheLoadGoesOn)
{
    project(100, "Other");
    item(120, 100, "foreign");
    project(400, "Site");
    collection(410, 400, "A", 0, 0);
    collection(411, 400, "B", 0, 0);
    item(420, 400, "own");
    member(410, 120);
    member(411, 420);
    templ(430, 400, "Full");
    show(411, 430);

    TWebFactory &f = load(400);
    ASSERT_EQ(f.LoadErrors().size(), 1);
    EXPECT_TRUE(f.LoadErrors()[0].startsWith("Part6 ")) << f.LoadErrors()[0].toStdString();
    EXPECT_TRUE(f.LoadErrors()[0].contains("120"));
    EXPECT_TRUE(log.contains(f.LoadErrors()[0]));
    EXPECT_TRUE(f.Collections->getItem(411)->Items.isEmpty()); // collections after the failure get none
    EXPECT_EQ(f.StyledCollections->Count(), 1);                // later steps still run
    EXPECT_EQ(log.last(), "--- Load complete ---");
}

TEST_F(Loader, AnErrorInStepTenFailsTheLoad)
{
    project(100, "Other");
    collection(110, 100, "NEWS", 0, 0);
    item(121, 100, "foreign");
    project(500, "Site");
    collection(510, 500, "A", 0, 0);
    item(520, 500, "own");
    link(510, 520, 110, 121, 1);

    EXPECT_THROW(load(500), std::exception);
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.last().startsWith("Part10 ")) << log.last().toStdString();
    EXPECT_FALSE(log.contains("Leaving Part 10"));
}

TEST_F(Loader, AnUnknownProjectLoadsNothing)
{
    project(100, "Other");
    page(101, 100, "index.html");
    TWebFactory &f = load(999);
    EXPECT_EQ(f.ProjectName, "");
    EXPECT_EQ(f.Pages->Count(), 0);
    EXPECT_EQ(f.Items->Count(), 0);
    EXPECT_TRUE(f.LoadErrors().isEmpty());
}

TEST_F(Loader, ReleaseListsDropsTheModel)
{
    project(100, "Site");
    page(101, 100, "index.html");
    load(100);
    builder.ReleaseLists();
    auto &f = static_cast<TWebFactory &>(*builder.GetFactory());
    EXPECT_EQ(f.Pages, nullptr);
    EXPECT_EQ(f.Snippets, nullptr);
    EXPECT_EQ(f.HomePage, nullptr);
}
