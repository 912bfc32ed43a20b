#include "converter/vkmain.h"
#include "site/buildlog.h"
#include "site/buildproject.h"
#include "site/corvantabuilder.h"
#include "site/macrotext.h"
#include "site/u_factory.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::site;

namespace {

// A factory with a converter and no database: the model is filled by hand.
class Macros : public ::testing::Test
{
protected:
    Macros()
    {
        ConfigureConverter(converter);
        builder.SetConverter(&converter);
        builder.CreateFactory();
        factory = static_cast<TWebFactory *>(builder.GetFactory());
    }

    TWebTemplate *addTemplate(const QString &name, const QString &header, const QString &body, const QString &footer)
    {
        TWebTemplate *t = factory->Templates->Add(QString::number(factory->Templates->Count() + 1));
        t->Name = name;
        t->Header = header;
        t->Body = body;
        t->Footer = footer;
        t->OnFormat = [this](TWebTemplate *sender, const QString &text) { return factory->FormatText(sender, text); };
        return t;
    }

    TWebItem *addItem(int id, const QString &name)
    {
        TWebItem *item = factory->Items->Add(QString::number(id));
        item->Data.Id = id;
        item->Data.Name = name;
        return item;
    }

    TWebCollection *addCollection(int id, const QString &code, TWebPage *home = nullptr)
    {
        TWebCollection *c = factory->Collections->Add();
        c->Data.Id = id;
        c->Code = code;
        c->Data.HomePage = home;
        c->OnFindLink = [this](TWebCollection *collection, TWebItem *item) { return factory->FindLink(collection, item); };
        return c;
    }

    void addSnippet(const QString &name, const QString &text)
    {
        auto s = std::make_unique<TWebSnippet>();
        s->Name = name;
        s->Text = text;
        factory->Snippets->Add(name, std::move(s));
    }

    TKvVelkaroXHTML converter;
    TCorvantaBuilder builder;
    TWebFactory *factory = nullptr;
};

}

TEST_F(Macros, ItemMacrosAreReplacedCaseBlindInTheirOrder)
{
    TWebPage home;
    home.FileName = "news.html";
    TWebCollection *news = addCollection(1, "NEWS", &home);
    TWebItem *item = addItem(42, "Caf\u00e9 <b>");
    item->Data.Url = "https://x.org/a";
    item->Data.Abstract = "Short";
    item->Data.DateTime = QDateTime(QDate(2009, 3, 5), QTime(14, 7, 9));
    item->Data.Text = "plain \u2122";
    item->Data.FileData.FileName = "/srv/files/report.pdf";
    item->Data.FileData.SizeKB = 3;
    item->Data.FileData.FileDate = QDateTime(QDate(2008, 1, 2), QTime(3, 4));
    TWebTemplate *t = addTemplate("Full", "", "%anchor%|%Name%|%URL%|%LINK%|%ABSTRACT%|%DATE%|%TIMESTAMP%|%TIME%|"
                                  "%FILE_URL%|%FILE_NAME%|%FILE_DATE%|%FILE_TIMESTAMP%|%FILE_TIME%|%FILE_SIZE%|"
                                  "%TEXT%|%HOME%|%LINKTITLE%|%name%", "");
    t->ExpandItem(item->Data, &news->Data, "ignored");
    EXPECT_EQ(t->Output, "<a name=\"item_42\"></a>|Caf&#233; <b>|https://x.org/a|"
                         "<a href=\"https://x.org/a\" target=\"new\">Caf\u00e9 <b></a>|Short|2009-03-05|2009-03-05 14:07|"
                         "14:07|download/report.pdf|report.pdf|2008-01-02|2008-01-02 03:04|03:04|3|plain &#8482;|"
                         "news.html#item_42|ignored|Caf&#233; <b>");
}

TEST_F(Macros, LaterMacrosExpandWhatEarlierValuesBroughtIn)
{
    TWebItem *item = addItem(1, "Name with %TEXT%");
    item->Data.Text = "text with %NAME% and %DATE%";
    TWebTemplate *t = addTemplate("T", "", "%NAME%", "");
    t->ExpandItem(item->Data, nullptr, "");
    EXPECT_EQ(t->Output, "Name with text with %NAME% and %DATE%");
}

TEST_F(Macros, ZeroDatesVanishAndFileMacrosStayWithoutAFile)
{
    TWebItem *item = addItem(1, "A");
    TWebTemplate *t = addTemplate("T", "", "[%DATE%][%TIMESTAMP%][%TIME%][%FILE_URL%][%FILE_SIZE%][%HOME%]", "");
    t->ExpandItem(item->Data, nullptr, "");
    EXPECT_EQ(t->Output, "[][][][%FILE_URL%][%FILE_SIZE%][]");
}

TEST_F(Macros, FormatTextConvertsRichTextAndEncodesEverythingElse)
{
    EXPECT_EQ(EncodeNonAscii("Caf\u00e9 \u2122 <&\""), "Caf&#233; &#8482; <&\"");
    EXPECT_EQ(EncodeNonAscii(QString::fromUcs4(U"\U0001F600")), "&#55357;&#56832;");
    EXPECT_EQ(factory->FormatText(nullptr, " {\\rtf1 x}"), " {\\rtf1 x}");
    const QString html = factory->FormatText(nullptr, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Hello \\b world\\b0 .\\par }");
    EXPECT_EQ(html, "    <p>\r\n      Hello <b>world</b>.\r\n    </p>\r\n");
}

TEST_F(Macros, SnippetPassesAreBoundedAndTestedExactly)
{
    addSnippet("SELF", "x%SELF%");
    addSnippet("OUTER", "[%INNER%]");
    addSnippet("INNER", "in");
    addSnippet("HEADER", "H");
    EXPECT_EQ(factory->Snippets->ReplaceSnippets("%SELF%"), "xxxx%SELF%");
    EXPECT_EQ(factory->Snippets->ReplaceSnippets("%OUTER%"), "[in]");
    EXPECT_EQ(factory->Snippets->ReplaceSnippets("%header%"), "%header%");      // the test is exact
    EXPECT_EQ(factory->Snippets->ReplaceSnippets("%HEADER%%header%"), "HH"); // the replacement is not

    const QString stamped = factory->Snippets->ReplaceSnippets("%TIMESTAMP%|%TIMESTAMP_UTC%");
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\\|\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d$")
                    .match(stamped).hasMatch())
        << stamped.toStdString();
}

TEST_F(Macros, TimestampUtcTakesTheUtcClock)
{
    const QByteArray savedTz = qgetenv("TZ");
    qputenv("TZ", "Asia/Kolkata"); // +05:30, so local and UTC differ
    tzset();
    const QString before = QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd'T'hh-mm");
    const QString stamped = factory->Snippets->ReplaceSnippets("%TIMESTAMP_UTC%");
    const QString after = QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd'T'hh-mm");
    savedTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedTz);
    tzset();
    EXPECT_TRUE(stamped.startsWith(before) || stamped.startsWith(after)) << stamped.toStdString();
}

TEST_F(Macros, ImagesAreTestedExactlyAndReplacedCaseBlind)
{
    auto logo = std::make_unique<TFileData>();
    logo->FileName = "/site/images/Logo.png";
    factory->Images->Add("Logo.png", std::move(logo));
    const QString tag = "<img src=\"images/Logo.png\" border=\"0\" alt=\"Logo.png\" />";
    EXPECT_EQ(factory->Images->ReplaceImages("a %Logo.png% b %logo.png%"), "a " + tag + " b " + tag);
    EXPECT_EQ(factory->Images->ReplaceImages("only %logo.png%"), "only %logo.png%");
}

TEST_F(Macros, LinkGroupsRenderOnlyWhereTheirPlaceholderStands)
{
    TWebPage about;
    about.FileName = "about.html";
    TWebCollection *news = addCollection(1, "NEWS");
    TWebCollection *docs = addCollection(2, "DOCS", &about);
    TWebItem *master = addItem(10, "Master");
    TWebItem *doc = addItem(11, "Doc");
    TWebItem *other = addItem(12, "Other");
    news->AddItem(master);
    TWebTemplate *full = addTemplate("Full", "<div>", "%NAME%:%DOCS_LINKS%%NEWS_LINKS%", "</div>");
    addTemplate("%DOCS_LINKS%", "(", "<a href=\"%HOME%\">%NAME%</a>", ")");
    addTemplate("%NEWS_LINKS%", "{", "%NAME%", "}");
    TWebItemLink *link = factory->Links->Add(news, master);
    for (auto [collection, item] : {std::pair{docs, doc}, {news, other}}) {
        auto detail = std::make_unique<TWebCollectionItem>();
        detail->Collection = collection;
        detail->Item = item;
        link->AddDetail(std::move(detail));
    }
    full->Body = "%NAME%:%DOCS_LINKS%";
    EXPECT_EQ(TStyledCollections::RenderCollection(news, full),
              "<div>\r\nMaster:(<a href=\"about.html#item_11\">Doc</a>)\r\n</div>\r\n");

    // An item without links keeps the placeholder until the page pass removes it.
    TWebCollection *plain = addCollection(3, "PLAIN");
    plain->AddItem(other);
    const QString rendered = TStyledCollections::RenderCollection(plain, full);
    EXPECT_EQ(rendered, "<div>\r\nOther:%DOCS_LINKS%\r\n</div>\r\n");
    EXPECT_EQ(factory->Templates->RemoveLinkPlaceholders(rendered), "<div>\r\nOther:\r\n</div>\r\n");
}

TEST_F(Macros, StyledPlaceholdersWithoutACollectionStay)
{
    TWebCollection *news = addCollection(1, "NEWS");
    news->AddItem(addItem(1, "One"));
    auto styled = std::make_unique<TStyledCollection>();
    styled->Collection = news;
    styled->Template = addTemplate("Full", "", "%NAME%", "");
    factory->StyledCollections->Add("", std::move(styled));
    factory->StyledCollections->RenderAll();
    EXPECT_EQ(factory->StyledCollections->ReplaceStyled("%news_full% %NEWS_Short% %DOCS_Full%"),
              "\r\nOne\r\n\r\n %NEWS_Short% %DOCS_Full%");
}

TEST_F(Macros, HyperlinksPreferTheUrlThenTheHomeAnchor)
{
    TWebPage home;
    home.FileName = "index.html";
    addItem(1, "With URL")->Data.Url = "https://x.org/";
    addItem(2, "Caf\u00e9")->Data.HomePage = &home;
    addItem(3, "Nowhere");
    EXPECT_EQ(factory->Items->GetHyperlinks(),
              (QStringList{"With URL=https://x.org/", "Caf&#233;=index.html#item_2"}));
}

// The index answers exactly what a plain search of the text answers.
TEST(PlaceholderIndex, AgreesWithAPlainSearch)
{
    const QString alphabet = "%%%aAbB_.x\u00e9\u00c9";
    QRandomGenerator random(7);
    auto randomText = [&](int length) {
        QString s;
        for (int i = 0; i < length; ++i)
            s += alphabet[random.bounded(alphabet.size())];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        const QString text = randomText(40);
        const TPlaceholderIndex index(text, 4); // longer placeholders take the plain search
        for (int p = 0; p < 30; ++p) {
            const QString placeholder = '%' + randomText(random.bounded(4)) + '%';
            for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
                ASSERT_EQ(index.Contains(text, placeholder, cs), text.contains(placeholder, cs))
                    << text.toStdString() << " / " << placeholder.toStdString();
        }
    }
}
