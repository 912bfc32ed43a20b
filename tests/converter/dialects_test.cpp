#include "converter/vktranslator.h"

#include <gtest/gtest.h>

using namespace corvanta;

namespace {

const TDocumentType ALL[] = {dtHTML_401_Transitional, dtHTML_401_Strict, dtXHTML_10_Transitional, dtXHTML_10_Strict,
                             dtXHTML_Basic_10, dtXHTML_MP_10, dtXHTML_11, dtXHTML_20};

TEST(converterDialects, EncodeTextEscapesAndReferences)
{
    const std::pair<QString, QByteArray> cases[] = {
        {u"5 \u20ac"_qs, "5 &#8364;"},
        {"a<b & c>", "a&lt;b &amp; c&gt;"},
        {"it's \"q\"", "it's &quot;q&quot;"},
        {u"\u00e4\t"_qs, "&#228;\t"},
        // One reference per character, also outside the basic plane; a lone half is no character.
        {u"\U0001F600"_qs, "&#128512;"},
        {QString(QChar(char16_t(0xd800))) + "x", "&#65533;x"},
    };
    for (TDocumentType type : ALL)
        for (const auto &[text, expected] : cases)
            EXPECT_EQ(CreateTranslator(type)->EncodeText(text), expected) << type;
}

TEST(converterDialects, QueriesPerDialect)
{
    const struct
    {
        TDocumentType type;
        QByteArray name, emptyEnd, lang, html;
        bool transitional, xmlLang, docTypeRequired, br, style, target;
    } cases[] = {
        {dtHTML_401_Transitional, "HTML 4.01 Transitional", ">", " lang=\"de\"", "<html>", true, false, false, true, true, true},
        {dtHTML_401_Strict, "HTML 4.01 Strict", ">", " lang=\"de\"", "<html>", false, false, false, false, true, false},
        {dtXHTML_10_Transitional, "XHTML 1.0 Transitional", " />", " xml:lang=\"de\" lang=\"de\"",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">", true, true, false, true, true, true},
        {dtXHTML_10_Strict, "XHTML 1.0 Strict", " />", " xml:lang=\"de\" lang=\"de\"",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">", false, true, false, false, true, false},
        {dtXHTML_Basic_10, "XHTML Basic 1.0", " />", " xml:lang=\"de\" lang=\"de\"",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">", false, true, false, true, false, false},
        {dtXHTML_MP_10, "XHTML Mobile 1.0", " />", " xml:lang=\"de\" lang=\"de\"",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">", false, true, false, true, true, false},
        {dtXHTML_11, "XHTML 1.1", " />", " xml:lang=\"de\"", "<html xmlns=\"http://www.w3.org/1999/xhtml\">",
         false, true, true, false, true, false},
        {dtXHTML_20, "XHTML 2.0", " />", " xml:lang=\"de\"", "<html xmlns=\"http://www.w3.org/2002/06/xhtml2/\"",
         false, true, true, false, true, false},
    };
    for (const auto &tc : cases) {
        const auto d = CreateTranslator(tc.type);
        EXPECT_EQ(d->GetDocumentTypeName(), tc.name);
        EXPECT_EQ(d->GetEmptyElementEnd(), tc.emptyEnd) << tc.name.constData();
        EXPECT_EQ(d->GetLangAttribute("de"), tc.lang) << tc.name.constData();
        EXPECT_EQ(d->GetLangAttribute(""), QByteArray());
        EXPECT_TRUE(d->GetHtmlElement().startsWith(tc.html)) << tc.name.constData();
        EXPECT_EQ(d->IsTransitional(), tc.transitional) << tc.name.constData();
        EXPECT_EQ(d->UsesXmlLang(), tc.xmlLang) << tc.name.constData();
        EXPECT_EQ(d->DocTypeRequired(), tc.docTypeRequired) << tc.name.constData();
        EXPECT_EQ(d->IsElementSupported("br"), tc.br) << tc.name.constData();
        EXPECT_EQ(d->IsElementSupported("style"), tc.style) << tc.name.constData();
        EXPECT_EQ(d->IsAttributeSupported("a", "target"), tc.target) << tc.name.constData();
        EXPECT_TRUE(d->IsAttributeSupported("A", "target")) << "comparisons are case-sensitive";
    }
}

TEST(converterDialects, DocTypeLines)
{
    const std::pair<TDocumentType, QByteArray> cases[] = {
        {dtHTML_401_Transitional, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">"},
        {dtHTML_401_Strict, "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">"},
        {dtXHTML_10_Transitional, "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"},
        {dtXHTML_10_Strict, "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"},
        {dtXHTML_Basic_10, "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML Basic 1.0//EN\" \"http://www.w3.org/TR/xhtml-basic/xhtml-basic10.dtd\">"},
        {dtXHTML_MP_10, "<!DOCTYPE html PUBLIC \"-//WAPFORUM//DTD XHTML Mobile 1.0//EN\" \"http://www.wapforum.org/DTD/xhtml-mobile10.dtd\">"},
        {dtXHTML_11, "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" \"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">"},
        {dtXHTML_20, "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 2.0//EN\" \"http://www.w3.org/MarkUp/DTD/xhtml2.dtd\">"},
    };
    for (const auto &[type, line] : cases)
        EXPECT_EQ(CreateTranslator(type)->GetDocType(), line);
}

TEST(converterDialects, RunMarkup)
{
    TCharacterProperties boldArial;
    boldArial.Style = fsBold;
    boldArial.FontName = "Arial,Helvetica,sans-serif";
    TCharacterProperties boldUnderline;
    boldUnderline.Style = fsBold | fsUnderline;
    TCharacterProperties everything;
    everything.Style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    everything.VerticalAlign = 2;
    everything.Color = "#ff0000";
    everything.BackgroundColor = "#00ff00";
    everything.HighlightColor = "#0000ff";
    everything.FontSize = 10;
    everything.Direction = 1;
    everything.Language = "fr";
    TCharacterProperties languageOnly;
    languageOnly.Language = "de";
    const QByteArray br = "\r\n      \"";
    const struct
    {
        TDocumentType type;
        TCharacterProperties props;
        QByteArray markup;
    } cases[] = {
        {dtXHTML_10_Transitional, boldArial, "<span style=" + br + "font-family:Arial,Helvetica,sans-serif;\"><b>Hi</b></span>"},
        {dtXHTML_10_Strict, boldArial, "<span style=" + br + "font-weight:bold;font-family:Arial,Helvetica,sans-serif;\">Hi</span>"},
        {dtXHTML_10_Transitional, boldUnderline, "<u><b>Hi</b></u>"},
        {dtHTML_401_Strict, boldUnderline, "<span style=" + br + "font-weight:bold;text-decoration:underline;\">Hi</span>"},
        {dtHTML_401_Transitional, everything,
         "<span style=" + br + "color:#ff0000;background-color:#00ff00;background-color:#0000ff;font-size:10pt;"
         "direction:rtl;\" lang=\"fr\"><sup><strike><u><i><b>Hi</b></i></u></strike></sup></span>"},
        {dtXHTML_11, everything,
         "<span style=" + br + "font-weight:bold;font-style:italic;text-decoration:underline;text-decoration:line-through;"
         "vertical-align:super;color:#ff0000;background-color:#00ff00;background-color:#0000ff;font-size:10pt;"
         "direction:rtl;\" xml:lang=\"fr\">Hi</span>"},
        {dtXHTML_11, languageOnly, "<span xml:lang=\"de\">Hi</span>"},
        {dtXHTML_Basic_10, everything, "<em><strong>Hi</strong></em>"},
        {dtXHTML_MP_10, boldArial, "<strong>Hi</strong>"},
        {dtXHTML_MP_10, languageOnly, "Hi"},
        {dtXHTML_20, TCharacterProperties(), "Hi"},
    };
    for (const auto &tc : cases)
        EXPECT_EQ(CreateTranslator(tc.type)->FormatRun("Hi", tc.props), tc.markup) << tc.type;
}

TEST(converterDialects, FontNamesAreEscapedInStyles)
{
    TCharacterProperties p;
    p.FontName = "\xef\xbc\xad\"x";
    EXPECT_EQ(CreateTranslator(dtXHTML_10_Strict)->FormatRun("t", p),
              "<span style=\r\n      \"font-family:&#65325;&quot;x;\">t</span>");
}

TEST(converterDialects, FontSizeScales)
{
    const struct
    {
        TFontSizeScale scale;
        int size;
        QByteArray style;
    } cases[] = {
        {fsPoint, 10, "font-size:10pt;"}, {fsEM, 10, "font-size:0.83em;"}, {fsEM, 12, "font-size:1em;"},
        {fsEM, 18, "font-size:1.5em;"},   {fsEX, 10, "font-size:0.83ex;"}, {fsPercent, 10, "font-size:83.3%;"},
        {fsPercent, 12, "font-size:100%;"}, {fsPercent, 18, "font-size:150%;"},
    };
    const auto d = CreateTranslator(dtXHTML_10_Strict);
    for (const auto &tc : cases) {
        d->SetFontSizeScale(tc.scale);
        EXPECT_EQ(d->GetFontSizeStyle(tc.size), tc.style);
    }
}

TEST(converterDialects, ParagraphStyleInPixels)
{
    const struct
    {
        int left, right, first;
        quint8 direction;
        QByteArray css;
    } cases[] = {
        {720, 0, -360, 0, "margin-left:48px;text-indent:-24px;"},
        {1, 0, 0, 0, "margin-left:1px;"},
        {0, 16, -1, 1, "margin-right:2px;text-indent:-1px;direction:rtl;"},
        {0, 0, 0, 0, ""},
    };
    for (const auto &tc : cases) {
        TParagraphProperties p;
        p.LeftIndent = tc.left;
        p.RightIndent = tc.right;
        p.FirstIndent = tc.first;
        p.Direction = tc.direction;
        EXPECT_EQ(TCustomTranslator::GetParagraphStyle(p), tc.css);
    }
}

TEST(converterDialects, ParagraphStartPerDialect)
{
    const QByteArray tail = ">\r\n      ";
    const struct
    {
        TDocumentType type;
        quint8 alignment;
        QByteArray start;
    } cases[] = {
        {dtHTML_401_Transitional, 1, "    <p align=\"right\" style=\"margin-left:48px;\"" + tail},
        {dtHTML_401_Transitional, 3, "    <p align=\"justify\" style=\"margin-left:48px;\"" + tail},
        {dtXHTML_10_Transitional, 2, "    <p align=\"center\" style=\"margin-left:48px;\"" + tail},
        {dtXHTML_10_Transitional, 3, "    <p style=\"text-align:justify;margin-left:48px;\"" + tail},
        {dtXHTML_10_Strict, 2, "    <p style=\"text-align:center;margin-left:48px;\"" + tail},
        {dtHTML_401_Strict, 0, "    <p style=\"margin-left:48px;\"" + tail},
        {dtXHTML_20, 1, "    <p style=\"text-align:right;margin-left:48px;\"" + tail},
        {dtXHTML_Basic_10, 2, "    <p" + tail},
        {dtXHTML_MP_10, 1, "    <p" + tail},
    };
    for (const auto &tc : cases) {
        TParagraphProperties p;
        p.Alignment = tc.alignment;
        p.LeftIndent = 720;
        EXPECT_EQ(CreateTranslator(tc.type)->GetParagraphStart(p), tc.start) << tc.type;
    }
}

TEST(converterDialects, ParagraphDefaultsJoinBaseStyle)
{
    TParagraphProperties centred;
    centred.Alignment = 2;
    auto d = CreateTranslator(dtXHTML_10_Strict);
    d->SetParagraphDefaults("<p class=\"x\"", "color:red;");
    EXPECT_EQ(d->GetParagraphStart(centred), "    <p class=\"x\" style=\"color:red;;text-align:center;\">\r\n      ");
    d->SetParagraphDefaults("<p", "color:red");
    EXPECT_EQ(d->GetParagraphStart(centred), "    <p style=\"color:red;text-align:center;\">\r\n      ");
    d = CreateTranslator(dtXHTML_Basic_10);
    d->SetParagraphDefaults("<p", "color:red");
    EXPECT_EQ(d->GetParagraphStart(centred), "    <p style=\"color:red\">\r\n      ");
}

}
