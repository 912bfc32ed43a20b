#include "helpers.h"

#include "site/buildproject.h"

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::test;

namespace {

const QByteArray BLUE = "{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\cf1\\ul ";
const QByteArray NBSP8 = QByteArray("&nbsp;").repeated(8);

TEST(converterOutput, EmptyAndTrailingParagraphs)
{
    TKvVelkaroXHTML c;
    EXPECT_EQ(fragment(c, "{\\rtf1    }"), QByteArray());
    EXPECT_EQ(fragment(c, "{\\rtf1 \\par\\par\\par}"), QByteArray());
    EXPECT_EQ(fragment(c, "{\\rtf1 A\\par\\par B\\par\\par}"),
              paragraph("A") + "    <p>\r\n    </p>\r\n" + paragraph("B"));
    // Line breaks for empty paragraphs only where presentational markup is allowed.
    c.ConvertEmptyParagraphs = true;
    EXPECT_EQ(fragment(c, "{\\rtf1 A\\par\\par B}"), paragraph("A") + "    <p>\r\n    </p>\r\n" + paragraph("B"));
    c.SetDocumentType(dtXHTML_10_Transitional);
    EXPECT_EQ(fragment(c, "{\\rtf1 A\\par\\par B}"), paragraph("A") + "    <br />\r\n" + paragraph("B"));
    EXPECT_EQ(fragment(c, "{\\rtf1\\tab}"), paragraph(NBSP8));
}

TEST(converterOutput, ClassesAndStylesOfParagraphs)
{
    TKvVelkaroXHTML c;
    c.ElementClasses = {"p=intro"};
    c.ElementStyles = {"p=color:red"};
    EXPECT_EQ(fragment(c, "{\\rtf1\\qc A\\par\\par B}"),
              paragraph("A", "<p class=\"intro\" style=\"color:red;text-align:center;\">")
                  + "    <p class=\"intro\" style=\"color:red\">\r\n    </p>\r\n"
                  + paragraph("B", "<p class=\"intro\" style=\"color:red;text-align:center;\">"));
    c.ConvertUsingPrettyIndents = false;
    c.ElementClasses.clear();
    c.ElementStyles.clear();
    EXPECT_EQ(fragment(c, "{\\rtf1 Hello}"), "    <p>\r\n      Hello</p>\r\n");
}

TEST(converterOutput, Lists)
{
    TKvVelkaroXHTML c;
    const QByteArray bullet = "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}";
    const QByteArray number = "{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody}";
    EXPECT_EQ(fragment(c, "{\\rtf1 " + bullet + "A\\par " + bullet + "B\\par\\pard C\\par}"),
              "    <ul>\r\n      <li>\r\n      A\r\n      </li>\r\n"
              "      <li>\r\n      B\r\n      </li>\r\n    </ul>\r\n"
                  + paragraph("C"));
    c.ElementClasses = {"ol=steps", "li=item"};
    EXPECT_EQ(fragment(c, "{\\rtf1 " + number + "A\\par}"),
              "    <ol class=\"steps\">\r\n      <li class=\"item\">\r\n      A\r\n      </li>\r\n    </ol>\r\n");
    c.ElementClasses.clear();
    // Each list is closed with its own kind when bulleted and numbered items meet.
    EXPECT_EQ(fragment(c, "{\\rtf1 " + bullet + "A\\par " + number + "B\\par}"),
              "    <ul>\r\n      <li>\r\n      A\r\n      </li>\r\n    </ul>\r\n"
              "    <ol>\r\n      <li>\r\n      B\r\n      </li>\r\n    </ol>\r\n");
    // An empty item inside a list ends it, so that the markup stays nested.
    EXPECT_EQ(fragment(c, "{\\rtf1 " + bullet + "A\\par " + bullet + "\\par\\pard B\\par}"),
              "    <ul>\r\n      <li>\r\n      A\r\n      </li>\r\n    </ul>\r\n    <p>\r\n    </p>\r\n"
                  + paragraph("B"));
}

struct LinkCase
{
    const char *name;
    THyperlinkOptions options;
    TDocumentType type;
    QByteArray text;
    QByteArray body;
};

TEST(converterOutput, LinksFromBlueUnderlinedRuns)
{
    const LinkCase cases[] = {
        {"http", {}, dtXHTML_10_Strict, "http://a.b/c", "<a href=\"http://a.b/c\">http://a.b/c</a>"},
        {"no scheme", {}, dtXHTML_10_Strict, "www.a.b", "<a href=\"www.a.b\">www.a.b</a>"},
        {"https with require", {hoRequireHTTP}, dtXHTML_10_Strict, "https://a.b", "https://a.b"},
        {"no scheme with require", {hoRequireHTTP}, dtXHTML_10_Strict, "a.b", "a.b"},
        {"http with require", {hoRequireHTTP}, dtXHTML_10_Strict, "http:x", "<a href=\"http:x\">http:x</a>"},
        {"mail", {hoReplaceEMailLinks}, dtXHTML_10_Strict, "me@a.b", "<a href=\"mailto:me@a.b\">me@a.b</a>"},
        {"at sign first", {hoReplaceEMailLinks, hoRequireHTTP}, dtXHTML_10_Strict, "@me", "@me"},
        {"new window strict", {hoOpenInNewBrowser}, dtXHTML_10_Strict, "http:x", "<a href=\"http:x\">http:x</a>"},
        {"new window transitional", {hoOpenInNewBrowser}, dtXHTML_10_Transitional, "http:x",
         "<a href=\"http:x\" target=\"_blank\">http:x</a>"},
        {"mail never in new window", {hoOpenInNewBrowser, hoReplaceEMailLinks}, dtXHTML_10_Transitional, "a@b",
         "<a href=\"mailto:a@b\">a@b</a>"},
        {"list", {hoUseHyperlinkList}, dtXHTML_10_Strict, "home", "<a href=\"index.html\">home</a>"},
        {"list with target", {hoUseHyperlinkList, hoOpenInNewBrowser}, dtHTML_401_Transitional, "Home",
         "<a href=\"index.html\" target=\"_blank\">Home</a>"},
        {"list looks up escaped text", {hoUseHyperlinkList, hoRequireHTTP}, dtXHTML_10_Strict, "Tom & Jerry",
         "<a href=\"tj.html\">Tom &amp; Jerry</a>"},
        {"unknown in list falls back", {hoUseHyperlinkList}, dtXHTML_10_Strict, "other", "<a href=\"other\">other</a>"},
    };
    for (const LinkCase &tc : cases) {
        LoggedConverter lc;
        TKvVelkaroXHTML &c = lc.converter;
        c.SetDocumentType(tc.type);
        c.ConvertHyperlinks = true;
        c.HyperlinkOptions = tc.options;
        c.HyperlinkList = {"Home=index.html", "Tom &amp; Jerry=tj.html"};
        EXPECT_EQ(fragment(c, BLUE + tc.text + "}"), paragraph(tc.body)) << tc.name;
    }
    LoggedConverter lc;
    lc.converter.ConvertHyperlinks = true;
    lc.converter.HyperlinkOptions = {hoUseHyperlinkList};
    fragment(lc.converter, BLUE + "other}");
    EXPECT_TRUE(lc.logged(logWarning, "Unknown hyperlink text: \"other\""));
}

TEST(converterOutput, LinkNeedsExactBlueAndUnderline)
{
    TKvVelkaroXHTML c;
    c.SetDocumentType(dtXHTML_10_Transitional);
    c.ConvertHyperlinks = true;
    EXPECT_EQ(fragment(c, "{\\rtf1{\\colortbl;\\red0\\green0\\blue254;}\\cf1\\ul x}"),
              paragraph("<span style=\r\n      \"color:#0000fe;\"><u>x</u></span>"));
    EXPECT_EQ(fragment(c, BLUE + "\\ulnone x}"), paragraph("<span style=\r\n      \"color:#0000ff;\">x</span>"));
    c.OnHyperlink = [](TVkBase *, QString &text) { text = "[" + text + "]"; };
    EXPECT_EQ(fragment(c, BLUE + "x}"), paragraph("[x]"));
    c.ConvertHyperlinks = false;
    EXPECT_EQ(fragment(c, BLUE + "x}"), paragraph("<span style=\r\n      \"color:#0000ff;\"><u>x</u></span>"));
}

TEST(converterOutput, SymbolFontBecomesGreek)
{
    TKvVelkaroXHTML c;
    EXPECT_EQ(fragment(c, "{\\rtf1{\\fonttbl{\\f1\\ftech\\fcharset2 Symbol;}}\\f1 abg AZ 1}"),
              paragraph("&#945;&#946;&#951; &#913;&#938; 1"));
    EXPECT_EQ(fragment(c, "{\\rtf1{\\fonttbl{\\f1\\ftech\\fcharset2 Symbol;}}\\f1\\line a}"),
              paragraph("<br />&#945;"));
}

TEST(converterOutput, DefaultFontStyleDropsDefaults)
{
    TKvVelkaroXHTML c;
    site::ConfigureConverter(c);
    EXPECT_EQ(c.Convert("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\\cf0 x}"), paragraph("x"));
    EXPECT_EQ(c.Convert("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 x}"),
              paragraph("<span style=\r\n      \"font-size:12pt;\">x</span>"));
}

TEST(converterOutput, SpacesAndTabs)
{
    TKvVelkaroXHTML c;
    c.ConvertSpaces = true;
    EXPECT_EQ(fragment(c, "{\\rtf1 a b  c   d    e}"),
              paragraph("a b&nbsp;&nbsp;c&nbsp;&nbsp; d&nbsp;&nbsp;&nbsp;&nbsp;e"));
    c.TabString = "<tab/>";
    EXPECT_EQ(fragment(c, "{\\rtf1 a\\tab b}"), paragraph("a<tab/>b"));
    c.TabString.clear();
    EXPECT_EQ(fragment(c, "{\\rtf1 a\\tab <b>}"), paragraph("a&lt;b&gt;"));
    c.TabString = "<tab/>";
    c.ConvertToPlainText = true;
    EXPECT_EQ(c.Convert("{\\rtf1 a\\tab b\\line c}"), "a<tab/>b<br />c\r\n");
}

TEST(converterOutput, EncodeEventsSeeEachRunBeforeAndAfterEscaping)
{
    TKvVelkaroXHTML c;
    QStringList seen;
    c.OnBeforeEncode = [&seen](TVkBase *, TTextNode &run) { seen << "before " + run.Text(); };
    c.OnAfterEncode = [&seen](TVkBase *, TTextNode &run) {
        seen << "after " + run.Text();
        run.SetText(run.Text().toUpper());
    };
    EXPECT_EQ(fragment(c, "{\\rtf1 a<b\\par c}"), paragraph("A&LT;B") + paragraph("C"));
    const qsizetype before = seen.indexOf("before a<b");
    ASSERT_GE(before, 0);
    EXPECT_EQ(seen.value(before + 1), "after a&lt;b");
    EXPECT_TRUE(seen.contains("after c"));
}

}
