#include "common/tempdir.h"
#include "site/u_factory.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::site;
using corvanta::test::TempDir;

namespace {

void writeFile(const QString &path, qint64 size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(size, 'x'));
}

}

TEST(ObjectStringList, FindsTheFirstMatchIgnoringCaseInAppendOrder)
{
    TObjectStringList<TWebSnippet> list;
    list.Add("Header")->Text = "first";
    list.Add("HEADER")->Text = "second";
    list.Add("")->Text = "unnamed";
    list.Add("Ärger")->Text = "folded";
    EXPECT_EQ(list.FindByKey("header")->Text, "first");
    EXPECT_EQ(list.FindByKey("")->Text, "unnamed");
    EXPECT_EQ(list.FindByKey("ÄRGER")->Text, "folded");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list[1]->Text, "second");
    EXPECT_THROW(list.FindByKey("footer"), EListIndexError);
    EXPECT_THROW(TObjectStringList<TWebSnippet>().FindByKey(""), EListIndexError);
}

TEST(FileData, SizeIsRoundedHalfToEvenAndMissingFilesAreEmpty)
{
    TempDir dir;
    const struct
    {
        qint64 bytes;
        int kb;
    } cases[] = {{0, 0}, {511, 0}, {512, 0}, {513, 1}, {1024, 1}, {1536, 2}, {2560, 2}, {3584, 4}, {1535, 1}};
    for (const auto &c : cases) {
        const QString path = dir.path(QString::number(c.bytes));
        writeFile(path, c.bytes);
        TFileData data;
        data.SetFileName(path);
        EXPECT_EQ(data.SizeKB, c.kb) << c.bytes << " bytes";
        EXPECT_EQ(data.FileDate, QFileInfo(path).lastModified());
    }
    TFileData missing;
    missing.SetFileName(dir.path("nothing-here"));
    EXPECT_EQ(missing.FileName, dir.path("nothing-here"));
    EXPECT_EQ(missing.SizeKB, 0);
    EXPECT_TRUE(isZeroDateTime(missing.FileDate));
    EXPECT_EQ(missing.FileDate.toString("yyyy-MM-dd hh:mm"), "1899-12-30 00:00");
}

TEST(ImageCollection, ScansFilesOnlyAndKeepsTheirCase)
{
    TempDir dir;
    writeFile(dir.path("Logo.PNG"), 2048);
    writeFile(dir.path(".hidden.gif"), 10);
    QDir(dir.path()).mkdir("sub");
    writeFile(dir.path("sub/inner.png"), 10);

    TImageCollection images;
    images.ScanFolder(dir.path());
    ASSERT_EQ(images.Count(), 2);
    EXPECT_EQ(images.Key(0), ".hidden.gif");
    EXPECT_EQ(images.Key(1), "Logo.PNG");
    EXPECT_EQ(images.FindByKey("logo.png")->SizeKB, 2);
    EXPECT_EQ(images.FindByKey("logo.png")->FileName, dir.path("Logo.PNG"));

    TImageCollection none;
    none.ScanFolder(dir.path("no-such-folder"));
    EXPECT_EQ(none.Count(), 0);
}

TEST(ContentModel, LookupsMatchAsDefined)
{
    TWebTemplateCollection templates;
    templates.Add("1")->Name = "Full";
    EXPECT_EQ(templates.FindByName("Full"), templates[0]);
    EXPECT_EQ(templates.FindByName("full"), nullptr); // names are exact
    EXPECT_EQ(TWebTemplateCollection().FindByName("Full"), nullptr);

    TWebPageCollection pages;
    EXPECT_EQ(pages.FindById(1), nullptr);
    pages.Add("")->Id = 7;
    pages.Add("")->Id = 7;
    EXPECT_EQ(pages.FindById(7), pages[0]);

    TWebCollections collections;
    EXPECT_EQ(collections.getItem(3), nullptr);
    collections.Add()->Data.Id = 3;
    EXPECT_EQ(collections.getItem(3)->Data.Id, 3);
}

TEST(ContentModel, AnItemTakesTheHomePageOfTheLastCollectionEvenWhenNone)
{
    TWebPage page;
    TWebCollection withPage, withoutPage;
    withPage.Data.HomePage = &page;
    TWebItem item;
    withPage.AddItem(&item);
    EXPECT_EQ(item.Data.HomePage, &page);
    withoutPage.AddItem(&item);
    EXPECT_EQ(item.Data.HomePage, nullptr);
    EXPECT_TRUE(withPage.Contains(&item));
    EXPECT_FALSE(withPage.Contains(nullptr));
}

TEST(ContentModel, LinkGroupsListEachItemOnceWithTheirTemplate)
{
    TWebTemplate linksTemplate;
    QStringList lookedFor;
    TWebItemCollection items([&](TWebItem *, const QString &name) {
        lookedFor << name;
        return name == "%DOCS_LINKS%" ? &linksTemplate : nullptr;
    });
    TWebItem *a = items.Add("1");
    TWebItem *b = items.Add("2");
    TWebCollection docs, news;
    docs.Code = "DOCS";
    news.Code = "NEWS";

    TWebItemLink link;
    for (auto [collection, item] : {std::pair{&docs, a}, {&news, b}, {&docs, a}, {&docs, b}}) {
        auto detail = std::make_unique<TWebCollectionItem>();
        detail->Collection = collection;
        detail->Item = item;
        link.AddDetail(std::move(detail));
    }
    EXPECT_EQ(link.Details.Count(), 4);
    ASSERT_EQ(link.Groups.Count(), 2);
    TWebLinkGroup *docsGroup = link.FindGroup(&docs);
    EXPECT_EQ(docsGroup, link.Groups[0]);
    EXPECT_EQ(docsGroup->Placeholder, "%DOCS_LINKS%");
    EXPECT_EQ(docsGroup->Template, &linksTemplate);
    ASSERT_EQ(docsGroup->Entries.size(), 2);
    EXPECT_EQ(docsGroup->Entries[0].second, a);
    EXPECT_EQ(docsGroup->Entries[1].second, b);
    EXPECT_EQ(link.FindGroup(&news)->Template, nullptr);
    EXPECT_EQ(lookedFor, (QStringList{"%DOCS_LINKS%", "%NEWS_LINKS%"}));
}
