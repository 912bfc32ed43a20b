#include "helpers.h"

#include "converter/vkreader.h"

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::test;

namespace {

// Parses into a document builder and hands it over, so that the tree can be inspected.
std::unique_ptr<TVkWriter> parse(TKvVelkaroXHTML &c, const QByteArray &rtf)
{
    auto builder = std::make_unique<TVkWriter>(c);
    TVkReader(c, *builder).Parse(rtf);
    return builder;
}

// All run texts of the document, paragraphs separated by "|".
QString text(TKvVelkaroXHTML &c, const QByteArray &rtf)
{
    const auto builder = parse(c, rtf);
    const TSimpleDomDocument &doc = builder->Document();
    QStringList paragraphs;
    for (int i = 0; i < doc.ChildCount(); ++i) {
        QString p;
        for (int r = 0; r < doc.Paragraph(i).ChildCount(); ++r)
            p += doc.Paragraph(i).Run(r).Text();
        paragraphs << p;
    }
    return paragraphs.join('|');
}

// The first run with text.
TCharacterProperties runOf(TKvVelkaroXHTML &c, const QByteArray &rtf, const QString &runText)
{
    const auto builder = parse(c, rtf);
    const TSimpleDomDocument &doc = builder->Document();
    for (int i = 0; i < doc.ChildCount(); ++i)
        for (int r = 0; r < doc.Paragraph(i).ChildCount(); ++r)
            if (doc.Paragraph(i).Run(r).Text() == runText)
                return doc.Paragraph(i).Run(r).Properties();
    ADD_FAILURE() << "no run " << runText.toStdString();
    return {};
}

TEST(converterReader, TextOfDocuments)
{
    const struct
    {
        const char *name;
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"unknown keyword with star skips group", "{\\rtf1 a{\\*\\foo text}b}", "ab"},
        {"unknown keyword keeps text", "{\\rtf1 a{\\foo text}b}", "atextb"},
        {"field adds nothing", "{\\rtf1 a{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}b}", "ab"},
        {"hidden text and its paragraph ends", "{\\rtf1 a\\v hid\\par den\\v0 b}", "ab"},
        {"hidden text ends with its group", "{\\rtf1 a{\\v hidden}b}", "ab"},
        {"mixed-case table keywords", "{\\rtf1 a\\clftsWidth3\\clwWidth200\\trwWidthB0\\trftsWidthB3\\plain b}", "ab"},
        {"table keyword right before a backslash", "{\\rtf1 a\\trw\\b b\\clw}", "ab"},
        {"escaped symbols", "{\\rtf1 \\{\\}\\\\\\ldblquote q\\rdblquote\\emdash\\lquote}", "{}\\\"q\"-'"},
        {"text after outermost group", "{\\rtf1 in}out", "in"},
        {"missing closing braces", "{\\rtf1 {\\b a{\\i b", "ab"},
        {"line ends ignored", "{\\rtf1 a\r\nb\\\nc}", "ab|c"},
        {"unicode drops one fallback byte", "{\\rtf1\\uc1\\u8364\\'80 x}", u"\u20ac x"_qs},
        {"uc0 keeps fallback", "{\\rtf1\\uc0\\u8364\\'80}", u"\u20ac\u20ac"_qs},
        {"uc2 drops two", "{\\rtf1\\uc2\\u12354\\'82\\'a0 x}", u"\u3042 x"_qs},
        {"negative unicode", "{\\rtf1\\u-3913?}", QString(QChar(char16_t(61623)))},
        {"hex in default charset", "{\\rtf1\\ansi \\'e4}", u"\u00e4"_qs},
        {"cyrillic charset", "{\\rtf1{\\fonttbl{\\f1\\fcharset204 X;}}\\f1\\'e4\\'f4}", u"\u0434\u0444"_qs},
        {"double-byte split by keyword", "{\\rtf1{\\fonttbl{\\f1\\fcharset128 M;}}\\f1\\'82\\b\\'a0}", u"\u3042"_qs},
        {"binary data is passed uninterpreted", "{\\rtf1 a\\bin3 {\\}b}", "a{\\}b"},
        {"bullet", "{\\rtf1\\bullet}", u"\u00b7"_qs},
        {"table row", "{\\rtf1{\\trowd\\cellx100 A\\cell B\\cell\\row}}",
         "A&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;B&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<br />"},
    };
    for (const auto &tc : cases) {
        TKvVelkaroXHTML c;
        EXPECT_EQ(text(c, tc.rtf), tc.text) << tc.name;
    }
}

TEST(converterReader, FontTableNamesAndFamilies)
{
    const struct
    {
        QByteArray declaration;
        QByteArray name;
    } cases[] = {
        {"\\fswiss Arial", "Arial,Helvetica,sans-serif"},
        {"\\froman Times New Roman", "Times,serif"},
        {"\\fswiss MS Sans Serif", "'MS Sans Serif',sans-serif"},
        {"\\fswiss Verdana", "Verdana,sans-serif"},
        {"\\fscript Brush", "Brush,serif"},
        {"\\fmodern Consolas", "Consolas"},
        {"\\fnil Wingdings", "Wingdings"},
        {"\\fbidi Tahoma", "Tahoma"},
        {"\\fnil  Padded {\\*\\falt Other}", "Padded"},
        {"\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72", "\xef\xbc\xad\xef\xbc\xb3"},
    };
    for (const auto &tc : cases) {
        TKvVelkaroXHTML c;
        const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f3" + tc.declaration + ";}}\\f3 x}";
        EXPECT_EQ(runOf(c, rtf, "x").FontName, tc.name) << tc.declaration.constData();
    }
}

TEST(converterReader, FontRunWithSize)
{
    TKvVelkaroXHTML c;
    const TCharacterProperties p = runOf(c, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Hi\\par}", "Hi");
    EXPECT_EQ(p.FontName, "Arial,Helvetica,sans-serif");
    EXPECT_EQ(p.FontSize, 10);
    EXPECT_EQ(runOf(c, "{\\rtf1\\fs21 x}", "x").FontSize, 10);
}

TEST(converterReader, FontTableWithoutGroupsKeepsLastNumber)
{
    LoggedConverter lc;
    const TCharacterProperties p = runOf(lc.converter, "{\\rtf1{\\fonttbl\\f0 Arial;\\f1 Times;}\\f1 x\\f0 y}", "x");
    EXPECT_EQ(p.FontName, "Arial,Helvetica,sans-serif");
    EXPECT_TRUE(lc.logged(logWarning, "Font 0 not found"));
    EXPECT_EQ(runOf(lc.converter, "{\\rtf1{\\fonttbl\\f0 Arial;\\f1 Times;}\\f1 x\\f0 y}", "y").FontName,
              "Times,serif");
}

TEST(converterReader, EmptyFontTableUsesDefaultFont)
{
    LoggedConverter lc;
    lc.converter.OptionsOptimize().DefaultFontName = "Dflt";
    EXPECT_EQ(runOf(lc.converter, "{\\rtf1{\\fonttbl}\\f0 x}", "x").FontName, "Dflt");
    EXPECT_TRUE(lc.logged(logWarning, "Font table is empty"));
}

TEST(converterReader, ColorsFromTheTable)
{
    LoggedConverter lc;
    lc.converter.LogLevel = logWarning;
    const QByteArray table = "{\\rtf1{\\colortbl;\\red255\\green0\\blue10;\\red1\\green2\\blue3;}";
    EXPECT_EQ(runOf(lc.converter, table + "\\cf1 x}", "x").Color, "#ff000a");
    EXPECT_EQ(runOf(lc.converter, table + "\\cf0 x}", "x").Color, "#000000");
    EXPECT_EQ(runOf(lc.converter, table + "\\cb2 x}", "x").BackgroundColor, "#010203");
    EXPECT_EQ(runOf(lc.converter, table + "\\cb2\\cb0 x}", "x").BackgroundColor, QByteArray());
    EXPECT_TRUE(lc.log.empty());
    lc.converter.OptionsOptimize().DefaultFontColor = "#111111";
    EXPECT_EQ(runOf(lc.converter, table + "\\cf5 x}", "x").Color, "#111111");
    EXPECT_TRUE(lc.logged(logWarning, "Color 5 not found"));
    EXPECT_EQ(runOf(lc.converter, "{\\rtf1\\cf3 x}", "x").Color, "#111111");
    // Highlight colours are off by default.
    EXPECT_EQ(runOf(lc.converter, table + "\\highlight1 x}", "x").HighlightColor, QByteArray());
    lc.converter.FontConversionOptions.include(opFontHLColor);
    EXPECT_EQ(runOf(lc.converter, table + "\\highlight1 x}", "x").HighlightColor, "#ff000a");
}

TEST(converterReader, StyleBitsNeedParameterOne)
{
    TKvVelkaroXHTML c;
    const struct
    {
        QByteArray rtf;
        int style;
    } cases[] = {
        {"\\b x", fsBold}, {"\\b\\b0 x", 0}, {"\\b2 x", 0}, {"\\i\\ul x", fsItalic | fsUnderline},
        {"\\uldb\\ulnone x", 0}, {"\\strike x", fsStrikeOut}, {"\\b\\i\\plain x", 0},
    };
    for (const auto &tc : cases)
        EXPECT_EQ(runOf(c, "{\\rtf1" + tc.rtf + "}", "x").Style, tc.style) << tc.rtf.constData();
    EXPECT_EQ(runOf(c, "{\\rtf1\\super x}", "x").VerticalAlign, 2);
    EXPECT_EQ(runOf(c, "{\\rtf1\\super\\dn x}", "x").VerticalAlign, 1);
    EXPECT_EQ(runOf(c, "{\\rtf1\\up\\nosupersub x}", "x").VerticalAlign, 0);
}

TEST(converterReader, GroupsRestoreCharacterProperties)
{
    TKvVelkaroXHTML c;
    EXPECT_EQ(runOf(c, "{\\rtf1 {\\b\\fs40 a}x}", "x").Style, 0);
    EXPECT_EQ(runOf(c, "{\\rtf1 {\\b\\fs40 a}x}", "x").FontSize, 0);
    EXPECT_EQ(runOf(c, "{\\rtf1 \\i{\\b a}x}", "x").Style, fsItalic);
}

TEST(converterReader, IndentsOnlyWhenConvertedAndOutsideLists)
{
    TKvVelkaroXHTML c;
    const QByteArray rtf = "{\\rtf1\\li720\\fi-360\\ri15 x}";
    EXPECT_EQ(parse(c, rtf)->Document().Paragraph(0).Properties().LeftIndent, 0);
    c.ConvertIndent = true;
    const TParagraphProperties p = parse(c, rtf)->Document().Paragraph(0).Properties();
    EXPECT_EQ(p.LeftIndent, 720);
    EXPECT_EQ(p.FirstIndent, -360);
    EXPECT_EQ(p.RightIndent, 15);
    EXPECT_EQ(parse(c, "{\\rtf1{\\*\\pn\\pnlvlblt}\\li720 x}")->Document().Paragraph(0).Properties().LeftIndent, 0);
}

TEST(converterReader, NumberingGroupMarksListParagraphs)
{
    TKvVelkaroXHTML c;
    const auto builder = parse(c, "{\\rtf1{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}A\\par "
                                  "{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody}B\\par\\pard C\\par}");
    const TSimpleDomDocument &doc = builder->Document();
    ASSERT_EQ(doc.ChildCount(), 4);
    EXPECT_TRUE(doc.Paragraph(0).Properties().ListItem);
    EXPECT_EQ(doc.Paragraph(0).Properties().NumberingLevel, 11);
    EXPECT_TRUE(doc.Paragraph(1).Properties().ListItem);
    EXPECT_EQ(doc.Paragraph(1).Properties().NumberingLevel, 10);
    EXPECT_FALSE(doc.Paragraph(2).Properties().ListItem);
    EXPECT_EQ(text(c, "{\\rtf1{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}A}"), "A");
}

TEST(converterReader, LanguagesWhenConverted)
{
    TKvVelkaroXHTML c;
    EXPECT_EQ(runOf(c, "{\\rtf1\\lang1031 x}", "x").Language, QByteArray());
    c.ConvertLanguage = true;
    c.DefaultLanguage = "en";
    EXPECT_EQ(runOf(c, "{\\rtf1\\lang1031 x}", "x").Language, "de");
    EXPECT_EQ(runOf(c, "{\\rtf1\\lang1031\\lang2057 x}", "x").Language, QByteArray());
    EXPECT_EQ(runOf(c, "{\\rtf1\\lang9999 x}", "x").Language, QByteArray());
    EXPECT_EQ(LanguageCode(2052), "zh");
    EXPECT_EQ(LanguageCode(1054), "th");
}

class RecordingAdapter : public IVkPictureAdapter
{
public:
    void BeginPicture() override { events << "begin"; }
    TPictureDescription &Description() override { return description; }
    void AddByte(quint8 b) override { bytes.append(char(b)); }
    void EndPicture() override { events << "end"; }
    QByteArray GetHtml() override { return "<img src=\"p.png\" />"; }
    TPictureDescription description;
    QByteArray bytes;
    QStringList events;
};

TEST(converterReader, PicturesGoToTheAdapter)
{
    TKvVelkaroXHTML c;
    RecordingAdapter adapter;
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picw10\\pich20\\picwgoal30\\pichgoal40 89504e\r\n47}b}";
    EXPECT_EQ(text(c, rtf), "ab");
    c.ConvertPictures = true;
    c.PictureAdapter = &adapter;
    EXPECT_EQ(text(c, rtf), "a<img src=\"p.png\" />b");
    EXPECT_EQ(adapter.events, QStringList({"begin", "end"}));
    EXPECT_EQ(adapter.bytes, QByteArray("\x89\x50\x4e\x47"));
    EXPECT_EQ(adapter.description.Type, 2);
    EXPECT_EQ(adapter.description.Width, 10);
    EXPECT_EQ(adapter.description.Height, 20);
    EXPECT_EQ(adapter.description.GoalWidth, 30);
    EXPECT_EQ(adapter.description.GoalHeight, 40);
}

}
