#include "helpers.h"

#include "common/error.h"
#include "converter/vktranslator.h"
#include "site/buildproject.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace corvanta;
using namespace corvanta::test;

namespace {

const QByteArray XHTML_STRICT_DOCTYPE = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                                        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">";

TEST(converterDriver, BuildConfigurationWorkedCase)
{
    TKvVelkaroXHTML c;
    site::ConfigureConverter(c);
    c.HyperlinkList = {"Home=index.html"};
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                           "{\\colortbl ;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\f0\\fs20 Hello \\b world\\b0 "
                           ".\\par \\cf1\\ul Home\\cf0\\ulnone\\par }";
    EXPECT_EQ(c.Convert(rtf), "    <p>\r\n      Hello <b>world</b>.\r\n    </p>\r\n"
                              "    <p>\r\n      <a href=\"index.html\">Home</a>\r\n    </p>\r\n");
}

TEST(converterDriver, DefaultPageAroundOneParagraph)
{
    TKvVelkaroXHTML c;
    const QByteArray page = c.Convert("{\\rtf1 Hello}");
    EXPECT_EQ(page, "<?xml version=\"1.0\"?>\r\n" + XHTML_STRICT_DOCTYPE + "\r\n"
                    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
                    "  <head>\r\n    <title>\r\n      Untitled document\r\n    </title>\r\n"
                    "    <meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\" />\r\n"
                    "    <meta name=\"generator\" content=\"TKvVelkaroXHTML 4.6\" />\r\n"
                    "  </head>\r\n  <body>\r\n"
                    "    <p>\r\n      Hello\r\n    </p>\r\n"
                    "  </body>\r\n</html>");
    EXPECT_EQ(fragment(c, "{\\rtf1 Hello}"), "    <p>\r\n      Hello\r\n    </p>\r\n");
}

TEST(converterDriver, InputWithoutHeaderGivesEmptyResultAndError)
{
    for (const QByteArray &input : {QByteArray("{\\RTF1 Hello}"), QByteArray(" {\\rtf1 Hello}"), QByteArray(),
                                    QByteArray("{\\rt")}) {
        LoggedConverter lc;
        EXPECT_EQ(lc.converter.Convert(input), QByteArray()) << input.constData();
        EXPECT_TRUE(lc.logged(logError, "No RTF header found")) << input.constData();
    }
}

TEST(converterDriver, DebugLogOfOneConversion)
{
    LoggedConverter lc;
    lc.converter.Convert("{\\rtf1 x}");
    ASSERT_GE(lc.log.size(), 6u);
    EXPECT_EQ(lc.log[0], std::make_pair(logDebug, QByteArray("TCustomVelkaro.DoConvert 0")));
    EXPECT_EQ(lc.log[1], std::make_pair(logDebug, QByteArray("VelkaroXHTMLReader created")));
    EXPECT_EQ(lc.log[2], std::make_pair(logDebug, QByteArray("Start conversion")));
    EXPECT_EQ(lc.log[3], std::make_pair(logDebug, QByteArray("End of conversion")));
    EXPECT_EQ(lc.log[4], std::make_pair(logInfo, QByteArray("Start wrapping")));
    EXPECT_EQ(lc.log[5], std::make_pair(logInfo, QByteArray("End of wrapping")));
}

TEST(converterDriver, PlainTextHasNoHeadOrFoot)
{
    TKvVelkaroXHTML c;
    c.ConvertToPlainText = true;
    EXPECT_EQ(c.Convert("{\\rtf1 A & B\\par \\'e4\\u8364\\'80\\par}"), "A & B\r\n\xc3\xa4\xe2\x82\xac\r\n\r\n");
}

TEST(converterDriver, DoctypeAndXmlDeclarationRules)
{
    TKvVelkaroXHTML c;
    c.SetDocumentType(dtXHTML_11);
    c.IncludeDocType = false;
    EXPECT_TRUE(c.BuildHead().contains("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\""));
    c.SetDocumentType(dtXHTML_10_Strict);
    EXPECT_FALSE(c.BuildHead().contains("<!DOCTYPE"));
    c.SetDocumentType(dtHTML_401_Strict);
    c.IncludeXMLDeclaration = true;
    EXPECT_FALSE(c.BuildHead().contains("<?xml"));
    EXPECT_TRUE(c.BuildHead().contains("<meta name=\"generator\" content=\"TKvVelkaroXHTML 4.6\">\r\n"));
}

TEST(converterDriver, StyleBlockWithDefaultFontRule)
{
    TKvVelkaroXHTML c;
    site::ConfigureConverter(c);
    c.OptionsHead().StyleSheetInclude = {"p { margin:0 }"};
    c.OptionsHead().StyleSheetLink = "site.css";
    c.OptionsHead().HeadTags = {"<link rel=\"icon\" href=\"i.png\" />"};
    const QByteArray head = c.BuildHead();
    EXPECT_TRUE(head.endsWith("    <meta name=\"generator\" content=\"Corvanta 2.0\" />\r\n"
                              "    <link rel=\"icon\" href=\"i.png\" />\r\n"
                              "    <link rel=\"stylesheet\" type=\"text/css\" href=\"site.css\" />\r\n"
                              "    <style type=\"text/css\">\r\n    <!--\r\n"
                              "      BODY {font-family:Arial,Helvetica,sans-serif;font-size:10pt;color:#000000; }\r\n"
                              "      p { margin:0 }\r\n        -->\r\n    </style>\r\n  </head>\r\n  <body>\r\n"))
        << head.constData();
    c.SetDocumentType(dtXHTML_Basic_10);
    EXPECT_FALSE(c.BuildHead().contains("<style"));
}

TEST(converterDriver, MetaTagsInOrderAndOnlyWithContent)
{
    TKvVelkaroXHTML c;
    TVkOptionsHead &h = c.OptionsHead();
    h.MetaContentType.clear();
    h.MetaOptions = {moMetaDate};
    h.MetaDescription = "About";
    h.MetaKeywords = "k1, k2";
    h.MetaTags = {"robots=all", "ROBOTS=none", "empty="};
    const QByteArray head = c.BuildHead();
    const QRegularExpression expected(
        "    <title>\r\n      Untitled document\r\n    </title>\r\n"
        "    <meta name=\"date\" content=\"\\d{4,}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\+00:00\" />\r\n"
        "    <meta name=\"description\" content=\"About\" />\r\n"
        "    <meta name=\"keywords\" content=\"k1, k2\" />\r\n"
        "    <meta name=\"robots\" content=\"all\" />\r\n"
        "    <meta name=\"ROBOTS\" content=\"all\" />\r\n"
        "  </head>\r\n");
    EXPECT_TRUE(expected.match(QString::fromUtf8(head)).hasMatch()) << head.constData();
    EXPECT_FALSE(head.contains("author"));
}

TEST(converterDriver, QuoteInAttributeValuesIsEscaped)
{
    TKvVelkaroXHTML c;
    c.OptionsHead().MetaDescription = "The \"best\" page";
    c.OptionsHead().StyleSheetLink = "a\"b.css";
    c.OptionsHead().MetaTags = {"x\"y=1\"2"};
    const QByteArray head = c.BuildHead();
    EXPECT_TRUE(head.contains("<meta name=\"description\" content=\"The &quot;best&quot; page\" />"));
    EXPECT_TRUE(head.contains("href=\"a&quot;b.css\""));
    EXPECT_TRUE(head.contains("<meta name=\"x&quot;y\" content=\"1&quot;2\" />"));

    site::ConfigureConverter(c);
    c.HyperlinkList = {"Home=say\"hi\".html", "a &quot;q&quot;=q.html"};
    EXPECT_EQ(c.Convert("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\cf1\\ul Home\\par a \"q\"\\par}"),
              paragraph("<a href=\"say&quot;hi&quot;.html\">Home</a>")
                  + paragraph("<a href=\"q.html\">a &quot;q&quot;</a>"));
}

TEST(converterDriver, TitleAndLanguageOfBody)
{
    TKvVelkaroXHTML c;
    c.OptionsHead().DocumentTitle = "News";
    c.ConvertLanguage = true;
    c.DefaultLanguage = "de";
    const QByteArray head = c.BuildHead();
    EXPECT_TRUE(head.contains("    <title>\r\n      News\r\n    </title>\r\n"));
    EXPECT_TRUE(head.endsWith("  <body xml:lang=\"de\" lang=\"de\">\r\n"));
    c.ConvertLanguage = false;
    EXPECT_TRUE(c.BuildHead().endsWith("  <body>\r\n"));
}

TEST(converterDriver, XhtmlTwoHtmlElementSpansFourLines)
{
    TKvVelkaroXHTML c;
    c.SetDocumentType(dtXHTML_20);
    EXPECT_TRUE(c.BuildHead().contains(
        "<html xmlns=\"http://www.w3.org/2002/06/xhtml2/\"\r\n"
        "      xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
        "      xsi:schemaLocation=\"http://www.w3.org/2002/06/xhtml2/\r\n"
        "                          http://www.w3.org/MarkUp/SCHEMA/xhtml2.xsd\">\r\n  <head>\r\n"));
}

struct Failure
{
    const char *name;
    QByteArray rtf;
    QByteArray logged;
};

TEST(converterDriver, ParsingFailuresGiveEmptyResultAndLoggedError)
{
    const Failure cases[] = {
        {"bad hex", "{\\rtf1 ok\\'zz more}", "ceUnknownCharacter"},
        {"picture without adapter", "{\\rtf1 a{\\pict\\pngblip 89504e}}", "Property TVkBase.PictureAdapter is not assigned"},
    };
    for (const Failure &f : cases) {
        LoggedConverter lc;
        lc.converter.ConvertPictures = true;
        EXPECT_EQ(fragment(lc.converter, f.rtf), QByteArray()) << f.name;
        EXPECT_TRUE(lc.logged(logError, f.logged)) << f.name;
    }
}

TEST(converterDriver, RaisingHandlersNeverEscapeConvert)
{
    TKvVelkaroXHTML c;
    c.OptionsHead().AddOuterHTML = false;
    int logged = 0;
    c.OnAfterEncode = [](TVkBase *, TTextNode &run) {
        if (run.Text().contains("B"))
            throw Error("encode failed");
    };
    c.OnLog = [&logged](TVkBase *, TLogLevel level, const QByteArray &text) {
        if (level == logError && text == "encode failed")
            ++logged;
    };
    // The output written before the failure is kept.
    EXPECT_EQ(c.Convert("{\\rtf1 A\\par B\\par C\\par}"), paragraph("A"));
    EXPECT_EQ(logged, 1);

    c.OnAfterEncode = nullptr;
    c.OnLog = [](TVkBase *, TLogLevel, const QByteArray &) { throw Error("log failed"); };
    c.OnBeforeConvert = [](TVkBase *) { throw std::runtime_error("before"); };
    EXPECT_NO_THROW(c.Convert("{\\rtf1 A}"));
    c.OnBeforeConvert = nullptr;
    c.OnReplaceFont = [](TVkBase *, QByteArray &) { throw Error("font"); };
    EXPECT_NO_THROW(c.Convert("{\\rtf1{\\fonttbl{\\f0 Arial;}} A}"));
}

TEST(converterDriver, ProgressCanAbortWithPartialDocument)
{
    TKvVelkaroXHTML c;
    c.OptionsHead().AddOuterHTML = false;
    QList<int> positions;
    c.OnProgress = [&positions](TVkReader *, int position, bool &) { positions << position; };
    const QByteArray rtf = "{\\rtf1 " + QByteArray(93, 'a') + "}";
    c.Convert(rtf);
    EXPECT_EQ(positions, QList<int>({0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_FALSE(c.Aborted);

    c.OnProgress = [](TVkReader *, int position, bool &allowContinue) { allowContinue = position < 50; };
    const QByteArray result = c.Convert(rtf);
    EXPECT_TRUE(c.Aborted);
    EXPECT_TRUE(result.startsWith("    <p>\r\n      aaaa"));
    EXPECT_LT(result.count('a'), 93);
    c.OnProgress = nullptr;
    c.Convert(rtf);
    EXPECT_FALSE(c.Aborted);
}

TEST(converterDriver, HostileInputNeverRaisesOrHangs)
{
    const QByteArray cases[] = {
        "{\\rtf1" + QByteArray(200000, '{') + "x",
        "{\\rtf1 text \\bin999999999999999999 abc",
        "{\\rtf1 \\bin4294967296 {}}",
        "{\\rtf1 a\\clftsWidth3",
        "{\\rtf1 \\u-99999999999999999999 \\fs99999999999 \\cf-5 \\f-2 x",
        QByteArray("{\\rtf1 \x00\xff\xfe\\\x00\\'", 16),
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 \\'82}}\\f0\\'82",
        "{\\rtf1 \\" + QByteArray(100000, 'z') + "9999999999999999999999 end}",
        "{\\rtf1" + QByteArray(50000, '}'),
    };
    for (const QByteArray &rtf : cases) {
        for (int type = dtHTML_401_Transitional; type <= dtXHTML_20; ++type) {
            TKvVelkaroXHTML c;
            c.SetDocumentType(TDocumentType(type));
            EXPECT_NO_THROW(c.Convert(rtf));
        }
    }
}

}
