#include "converter/vktranslator.h"

#include <cmath>

namespace corvanta {

namespace {

const QByteArray CRLF = "\r\n";

QByteArray docType(const char *keyword, const char *publicId, const char *systemId)
{
    return QByteArray("<!DOCTYPE ") + keyword + " PUBLIC \"" + publicId + "\" \"" + systemId + "\">";
}

QByteArray xhtmlDocType(const char *publicId, const char *systemId)
{
    return docType("html", publicId, systemId);
}

QByteArray htmlDocType(const char *publicId, const char *systemId)
{
    return docType("HTML", publicId, systemId);
}

// Twips to whole pixels, rounded away from zero.
QByteArray px(int twips)
{
    const double pixels = twips / 15.0;
    const long long rounded = (long long)(pixels >= 0 ? std::ceil(pixels) : std::floor(pixels));
    return QByteArray::number(rounded) + "px;";
}

QByteArray alignmentStyle(quint8 alignment)
{
    switch (alignment) {
    case 1: return "text-align:right;";
    case 2: return "text-align:center;";
    case 3: return "text-align:justify;";
    default: return QByteArray();
    }
}

bool isTargetOfA(const QByteArray &element, const QByteArray &attribute)
{
    return element == "a" && attribute == "target";
}

}

QByteArray TCustomTranslator::EncodeText(const QString &text) const
{
    QByteArray out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case '"': out += "&quot;"; break;
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default:
            if (c < 128) {
                out += char(c);
            } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                // One reference for the whole character: a reference to half of a pair is no character.
                out += "&#" + QByteArray::number(QChar::surrogateToUcs4(c, text[i + 1].unicode())) + ';';
                ++i;
            } else if (QChar::isSurrogate(c)) {
                out += "&#65533;";
            } else {
                out += "&#" + QByteArray::number(c) + ';';
            }
        }
    }
    return out;
}

bool TCustomTranslator::IsElementSupported(const QByteArray &) const
{
    return true;
}

bool TCustomTranslator::IsAttributeSupported(const QByteArray &, const QByteArray &) const
{
    return true;
}

QByteArray TCustomTranslator::GetLangAttribute(const QByteArray &code) const
{
    if (code.isEmpty())
        return QByteArray();
    QByteArray result;
    if (IsAttributeSupported(QByteArray(), "lang"))
        result = " lang=\"" + code + '"';
    if (UsesXmlLang())
        result.prepend(" xml:lang=\"" + code + '"');
    return result;
}

QByteArray TCustomTranslator::GetFontSizeStyle(int size) const
{
    switch (m_fontSizeScale) {
    case fsEM: return "font-size:" + QByteArray::number(size / 12.0, 'g', 2) + "em;";
    case fsEX: return "font-size:" + QByteArray::number(size / 12.0, 'g', 2) + "ex;";
    case fsPercent: return "font-size:" + QByteArray::number(size / 0.12, 'g', 3) + "%;";
    case fsPoint: break;
    }
    return "font-size:" + QByteArray::number(size) + "pt;";
}

QByteArray TCustomTranslator::GetParagraphStyle(const TParagraphProperties &p)
{
    QByteArray css;
    if (p.LeftIndent != 0)
        css += "margin-left:" + px(p.LeftIndent);
    if (p.RightIndent != 0)
        css += "margin-right:" + px(p.RightIndent);
    if (p.FirstIndent != 0)
        css += "text-indent:" + px(p.FirstIndent);
    if (p.Direction == 1)
        css += "direction:rtl;";
    return css;
}

QByteArray TCustomTranslator::GetStyleAttribute(const QByteArray &style) const
{
    QByteArray s = m_paragraphBaseStyle;
    if (!style.isEmpty()) {
        if (!s.isEmpty())
            s += ';';
        s += style;
    }
    return s.isEmpty() ? QByteArray() : " style=\"" + s + '"';
}

QByteArray TCustomTranslator::GetParagraphTag(const QByteArray &style, const QByteArray &alignmentAttribute) const
{
    return "    " + m_paragraphStartTag + alignmentAttribute + GetStyleAttribute(style) + '>' + CRLF + GetIndent();
}

void TCustomTranslator::SetParagraphDefaults(const QByteArray &startTag, const QByteArray &baseStyle)
{
    m_paragraphStartTag = startTag;
    m_paragraphBaseStyle = baseStyle;
}

QByteArray TCustomTranslator::FormatRunWithSpan(const QByteArray &text, const TCharacterProperties &p) const
{
    QByteArray result = text;
    QByteArray style;
    const bool bold = p.Style & fsBold, italic = p.Style & fsItalic;
    const bool underline = p.Style & fsUnderline, strike = p.Style & fsStrikeOut;
    if (IsTransitional()) {
        const auto wrap = [&result](bool on, const char *tag) {
            if (on)
                result = QByteArray("<") + tag + '>' + result + "</" + tag + '>';
        };
        wrap(bold, "b");
        wrap(italic, "i");
        wrap(underline, "u");
        wrap(strike, "strike");
        wrap(p.VerticalAlign == 1, "sub");
        wrap(p.VerticalAlign == 2, "sup");
    } else {
        if (bold)
            style += "font-weight:bold;";
        if (italic)
            style += "font-style:italic;";
        if (underline)
            style += "text-decoration:underline;";
        if (strike)
            style += "text-decoration:line-through;";
        if (p.VerticalAlign == 1)
            style += "vertical-align:sub;";
        if (p.VerticalAlign == 2)
            style += "vertical-align:super;";
    }
    // Font names may come from the document in any script; they are escaped like text.
    if (!p.FontName.isEmpty())
        style += "font-family:" + EncodeText(QString::fromUtf8(p.FontName)) + ';';
    if (!p.Color.isEmpty())
        style += "color:" + p.Color + ';';
    if (!p.BackgroundColor.isEmpty())
        style += "background-color:" + p.BackgroundColor + ';';
    if (!p.HighlightColor.isEmpty())
        style += "background-color:" + p.HighlightColor + ';';
    if (p.FontSize > 0)
        style += GetFontSizeStyle(p.FontSize);
    if (p.Direction == 1)
        style += "direction:rtl;";
    const QByteArray styleAttribute = style.isEmpty() ? QByteArray() : " style=" + CRLF + "      \"" + style + '"';
    const QByteArray langAttribute = GetLangAttribute(p.Language);
    if (!styleAttribute.isEmpty() || !langAttribute.isEmpty())
        result = "<span" + styleAttribute + langAttribute + '>' + result + "</span>";
    return result;
}

QByteArray THTML401TransitionalTranslator::GetDocType() const
{
    return htmlDocType("-//W3C//DTD HTML 4.01 Transitional//EN", "http://www.w3.org/TR/html4/loose.dtd");
}

QByteArray THTML401TransitionalTranslator::GetParagraphStart(const TParagraphProperties &p) const
{
    QByteArray attribute;
    switch (p.Alignment) {
    case 1: attribute = " align=\"right\""; break;
    case 2: attribute = " align=\"center\""; break;
    case 3: attribute = " align=\"justify\""; break;
    default: break;
    }
    return GetParagraphTag(GetParagraphStyle(p), attribute);
}

QByteArray THTML401StrictTranslator::GetDocType() const
{
    return htmlDocType("-//W3C//DTD HTML 4.01//EN", "http://www.w3.org/TR/html4/strict.dtd");
}

QByteArray THTML401StrictTranslator::GetParagraphStart(const TParagraphProperties &p) const
{
    return GetParagraphTag(alignmentStyle(p.Alignment) + GetParagraphStyle(p), QByteArray());
}

bool THTML401StrictTranslator::IsElementSupported(const QByteArray &element) const
{
    return element != "br";
}

bool THTML401StrictTranslator::IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const
{
    return !isTargetOfA(element, attribute);
}

QByteArray TXHTMLTranslator::GetHtmlElement() const
{
    return "<html xmlns=\"http://www.w3.org/1999/xhtml\">";
}

QByteArray TXHTML10TransitionalTranslator::GetDocType() const
{
    return xhtmlDocType("-//W3C//DTD XHTML 1.0 Transitional//EN",
                        "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd");
}

QByteArray TXHTML10TransitionalTranslator::GetParagraphStart(const TParagraphProperties &p) const
{
    const QByteArray css = GetParagraphStyle(p);
    switch (p.Alignment) {
    case 1: return GetParagraphTag(css, " align=\"right\"");
    case 2: return GetParagraphTag(css, " align=\"center\"");
    case 3: return GetParagraphTag("text-align:justify;" + css, QByteArray());
    default: return GetParagraphTag(css, QByteArray());
    }
}

QByteArray TXHTML10StrictTranslator::GetDocType() const
{
    return xhtmlDocType("-//W3C//DTD XHTML 1.0 Strict//EN", "http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd");
}

QByteArray TXHTML10StrictTranslator::GetParagraphStart(const TParagraphProperties &p) const
{
    return GetParagraphTag(alignmentStyle(p.Alignment) + GetParagraphStyle(p), QByteArray());
}

bool TXHTML10StrictTranslator::IsElementSupported(const QByteArray &element) const
{
    return element != "br";
}

bool TXHTML10StrictTranslator::IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const
{
    return !isTargetOfA(element, attribute);
}

QByteArray TXHTML11Translator::GetDocType() const
{
    return xhtmlDocType("-//W3C//DTD XHTML 1.1//EN", "http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd");
}

bool TXHTML11Translator::IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const
{
    return attribute != "lang" && TXHTML10StrictTranslator::IsAttributeSupported(element, attribute);
}

QByteArray TXHTML20Translator::GetDocType() const
{
    return xhtmlDocType("-//W3C//DTD XHTML 2.0//EN", "http://www.w3.org/MarkUp/DTD/xhtml2.dtd");
}

QByteArray TXHTML20Translator::GetHtmlElement() const
{
    return "<html xmlns=\"http://www.w3.org/2002/06/xhtml2/\"" + CRLF
        + "      xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"" + CRLF
        + "      xsi:schemaLocation=\"http://www.w3.org/2002/06/xhtml2/" + CRLF
        + QByteArray(26, ' ') + "http://www.w3.org/MarkUp/SCHEMA/xhtml2.xsd\">";
}

QByteArray TXHTMLBasic10Translator::GetDocType() const
{
    return xhtmlDocType("-//W3C//DTD XHTML Basic 1.0//EN", "http://www.w3.org/TR/xhtml-basic/xhtml-basic10.dtd");
}

QByteArray TXHTMLBasic10Translator::FormatRun(const QByteArray &text, const TCharacterProperties &p) const
{
    QByteArray result = text;
    if (p.Style & fsBold)
        result = "<strong>" + result + "</strong>";
    if (p.Style & fsItalic)
        result = "<em>" + result + "</em>";
    return result;
}

QByteArray TXHTMLBasic10Translator::GetParagraphStart(const TParagraphProperties &) const
{
    return GetParagraphTag(QByteArray(), QByteArray());
}

bool TXHTMLBasic10Translator::IsElementSupported(const QByteArray &element) const
{
    return element != "style";
}

bool TXHTMLBasic10Translator::IsAttributeSupported(const QByteArray &element, const QByteArray &attribute) const
{
    return !isTargetOfA(element, attribute);
}

QByteArray TXHTMLMobileProfile10Translator::GetDocType() const
{
    return xhtmlDocType("-//WAPFORUM//DTD XHTML Mobile 1.0//EN", "http://www.wapforum.org/DTD/xhtml-mobile10.dtd");
}

std::unique_ptr<TCustomTranslator> CreateTranslator(TDocumentType type)
{
    switch (type) {
    case dtHTML_401_Transitional: return std::make_unique<THTML401TransitionalTranslator>();
    case dtHTML_401_Strict: return std::make_unique<THTML401StrictTranslator>();
    case dtXHTML_10_Transitional: return std::make_unique<TXHTML10TransitionalTranslator>();
    case dtXHTML_Basic_10: return std::make_unique<TXHTMLBasic10Translator>();
    case dtXHTML_MP_10: return std::make_unique<TXHTMLMobileProfile10Translator>();
    case dtXHTML_11: return std::make_unique<TXHTML11Translator>();
    case dtXHTML_20: return std::make_unique<TXHTML20Translator>();
    case dtXHTML_10_Strict: break;
    }
    return std::make_unique<TXHTML10StrictTranslator>();
}

}
