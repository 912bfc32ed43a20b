#include "helpers.h"

#include "converter/vkreader.h"

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::test;

namespace {

struct Parsed
{
    explicit Parsed(const QByteArray &rtf, const std::function<void(TKvVelkaroXHTML &)> &configure = {})
    {
        if (configure)
            configure(converter);
        builder = std::make_unique<TVkWriter>(converter);
        TVkReader(converter, *builder).Parse(rtf);
    }
    const TSimpleDomDocument &doc() const { return builder->Document(); }
    const TParagraphNode &paragraph(int i) const { return doc().Paragraph(i); }
    TKvVelkaroXHTML converter;
    std::unique_ptr<TVkWriter> builder;
};

TEST(converterDocument, EmptyDocumentHasOneParagraphWithOneEmptyRun)
{
    TKvVelkaroXHTML c;
    TVkWriter builder(c);
    ASSERT_EQ(builder.Document().ChildCount(), 1);
    EXPECT_EQ(builder.Document().Paragraph(0).ChildCount(), 1);
    EXPECT_TRUE(builder.Document().Paragraph(0).Run(0).Text().isEmpty());
    EXPECT_EQ(Parsed("{\\rtf1 }").paragraph(0).ChildCount(), 1);
}

TEST(converterDocument, ChangesBeforeTextShareOneRun)
{
    Parsed p("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\\b x}");
    ASSERT_EQ(p.paragraph(0).ChildCount(), 1);
    const TCharacterProperties &props = p.paragraph(0).Run(0).Properties();
    EXPECT_EQ(props.FontSize, 10);
    EXPECT_EQ(props.Style, fsBold);
    EXPECT_EQ(props.FontName, "Arial,Helvetica,sans-serif");
}

TEST(converterDocument, EqualAdjacentRunsAreNotMerged)
{
    Parsed p("{\\rtf1\\b A\\b0\\b B}");
    ASSERT_EQ(p.paragraph(0).ChildCount(), 2);
    EXPECT_EQ(p.paragraph(0).Run(0).Text(), "A");
    EXPECT_EQ(p.paragraph(0).Run(1).Text(), "B");
    EXPECT_EQ(p.paragraph(0).Run(0).Properties().Style, fsBold);
    EXPECT_EQ(p.paragraph(0).Run(1).Properties().Style, fsBold);
}

TEST(converterDocument, GatedPropertiesStayEmpty)
{
    Parsed p("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\fs40\\cf1\\b x}", [](TKvVelkaroXHTML &c) {
        c.FontConversionOptions.exclude(opFontSize);
        c.FontConversionOptions.exclude(opFontColor);
    });
    const TCharacterProperties &props = p.paragraph(0).Run(0).Properties();
    EXPECT_EQ(props.FontSize, 0);
    EXPECT_EQ(props.Color, QByteArray());
    EXPECT_EQ(props.Style, fsBold);
}

TEST(converterDocument, TabIsItsOwnEncodedRunWithoutFont)
{
    Parsed p("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 a\\tab b}");
    ASSERT_EQ(p.paragraph(0).ChildCount(), 3);
    const TTextNode &tab = p.paragraph(0).Run(1);
    EXPECT_TRUE(tab.Encoded());
    EXPECT_EQ(tab.Text(), QString::fromLatin1(QByteArray("&nbsp;").repeated(8)));
    EXPECT_EQ(tab.Properties().FontName, QByteArray());
    EXPECT_EQ(p.paragraph(0).Run(2).Properties().FontName, "Arial,Helvetica,sans-serif");
    EXPECT_FALSE(p.paragraph(0).Run(2).Encoded());
}

TEST(converterDocument, ParagraphEndsTakeCurrentParagraphProperties)
{
    Parsed p("{\\rtf1\\qc A\\par B\\par\\pard\\rtlpar\\qr C\\par\\pard D}");
    ASSERT_EQ(p.doc().ChildCount(), 4);
    EXPECT_EQ(p.paragraph(0).Properties().Alignment, 2);
    EXPECT_EQ(p.paragraph(1).Properties().Alignment, 2);
    EXPECT_EQ(p.paragraph(2).Properties().Alignment, 1);
    EXPECT_EQ(p.paragraph(2).Properties().Direction, 1);
    // pard keeps the right-to-left direction.
    EXPECT_EQ(p.paragraph(3).Properties().Alignment, 0);
    EXPECT_EQ(p.paragraph(3).Properties().Direction, 1);
}

TEST(converterDocument, PlainResetsToDefaults)
{
    Parsed p("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf1\\cb1\\fs40\\b\\super\\plain x}", [](TKvVelkaroXHTML &c) {
        c.OptionsOptimize().DefaultFontName = "Dflt";
        c.OptionsOptimize().DefaultFontSize = 11;
    });
    const TCharacterProperties &props = p.paragraph(0).LastRun().Properties();
    EXPECT_EQ(props.FontName, "Dflt");
    EXPECT_EQ(props.FontSize, 11);
    EXPECT_EQ(props.Color, "#000000");
    EXPECT_EQ(props.BackgroundColor, QByteArray());
    EXPECT_EQ(props.Style, 0);
    EXPECT_EQ(props.VerticalAlign, 0);
}

TEST(converterDocument, ConverterCharsetsAndCodePages)
{
    const std::pair<int, int> table[] = {{0, 1252}, {2, 0}, {77, 1252}, {128, 932}, {129, 949}, {134, 936},
                                         {136, 950}, {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255},
                                         {178, 1256}, {186, 1257}, {204, 1251}, {222, 874}, {238, 1250}};
    for (const auto &[charset, codePage] : table) {
        TUnicodeConverter converter;
        converter.SetCharset(charset == 0 ? 1 : charset);
        converter.SetCharset(charset);
        EXPECT_EQ(converter.CodePage(), codePage) << charset;
        EXPECT_EQ(converter.GetDoubleByte(), codePage >= 932 && codePage <= 950) << charset;
    }
}

TEST(converterDocument, ConverterDecodesBytes)
{
    const struct
    {
        int charset;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {0, "A\x80\xe4", u"A\u20ac\u00e4"_qs},
        {0, "\x81", "?"},
        {2, "\xb7", u"\u00b7"_qs},
        {238, "\x9a", u"\u0161"_qs},
        {128, "a\x82\xa0z", u"a\u3042z"_qs},
        {134, "\xc4\xe3", u"\u4f60"_qs},
        {129, "\xc7\xd1", u"\ud55c"_qs},
        {136, "\xa4\xa4", u"\u4e2d"_qs},
        {161, "\xe1", u"\u03b1"_qs},
        {222, "\xa1", u"\u0e01"_qs},
    };
    for (const auto &tc : cases) {
        TUnicodeConverter converter;
        converter.SetCharset(tc.charset);
        QString out;
        for (char b : tc.bytes)
            converter.Feed(uchar(b), out);
        EXPECT_EQ(out, tc.text) << tc.charset;
    }
}

}
