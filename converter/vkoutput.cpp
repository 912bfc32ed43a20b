#include "converter/vkoutput.h"

#include "converter/vktranslator.h"

#include <QHash>

namespace corvanta {

namespace {

const QByteArray CRLF = "\r\n";

bool isBlank(const QByteArray &s)
{
    for (char c : s)
        if (uchar(c) > ' ')
            return false;
    return true;
}

bool isBulleted(const TParagraphNode &paragraph)
{
    return paragraph.Properties().NumberingLevel == 11;
}

// Text to Windows-1252 bytes, "?" for what it cannot hold.
QByteArray toWindows1252(const QString &text)
{
    static const QHash<char16_t, uchar> upper = [] {
        QHash<char16_t, uchar> map;
        for (int b = 255; b >= 128; --b) {
            const QString decoded = TUnicodeConverter::Decode(QByteArray(1, char(b)), 1252);
            if (decoded.size() == 1 && decoded != QStringLiteral("?"))
                map.insert(decoded[0].unicode(), uchar(b));
        }
        return map;
    }();
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 128)
            out += char(c.unicode());
        else
            out += char(upper.value(c.unicode(), '?'));
    }
    return out;
}

QString symbolToGreek(const QString &text)
{
    const QByteArray bytes = toWindows1252(text);
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const uchar b = uchar(c);
        const bool letter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        out += QChar(char16_t(letter ? b + 848 : b));
    }
    return out;
}

}

QByteArray TVkBase::EncodeRun(TTextNode &run)
{
    if (OnBeforeEncode)
        OnBeforeEncode(this, run);
    TCharacterProperties &p = run.Properties();
    const TVkOptionsOptimize &optimize = OptionsOptimize();
    if (optimize.IncludeDefaultFontStyle) {
        if (p.FontName == optimize.DefaultFontName)
            p.FontName.clear();
        if (p.Color == optimize.DefaultFontColor)
            p.Color.clear();
        if (p.FontSize == optimize.DefaultFontSize)
            p.FontSize = 0;
    }
    if (p.FontName == "Symbol") {
        p.FontName.clear();
        // Markup such as a line break is no Symbol text.
        if (!run.Encoded())
            run.SetText(symbolToGreek(run.Text()));
    }
    if (!run.Encoded()) {
        run.SetText(QString::fromLatin1(m_translator->EncodeText(run.Text())));
        run.SetEncoded(true);
    }
    if (ConvertHyperlinks && (p.Style & fsUnderline) && p.Color == "#0000ff") {
        ConvertLink(run);
        p.Style &= ~fsUnderline;
        p.Color.clear();
    }
    if (ConvertSpaces)
        run.Text().replace(QStringLiteral("  "), QStringLiteral("&nbsp;&nbsp;"));
    if (OnAfterEncode)
        OnAfterEncode(this, run);
    return m_translator->FormatRun(run.Text().toUtf8(), p);
}

void TVkBase::ConvertLink(TTextNode &run)
{
    QString linkText = run.Text();
    if (OnHyperlink) {
        OnHyperlink(this, linkText);
        run.SetText(linkText);
        return;
    }
    const QByteArray text = linkText.toUtf8();
    const QByteArray target = HyperlinkOptions.contains(hoOpenInNewBrowser)
            && m_translator->IsAttributeSupported("a", "target")
        ? QByteArray(" target=\"_blank\"")
        : QByteArray();
    const auto link = [&](const QByteArray &href, const QByteArray &extra) {
        run.SetText(QString::fromUtf8("<a href=\"" + href + '"' + extra + '>' + text + "</a>"));
    };
    if (HyperlinkOptions.contains(hoUseHyperlinkList)) {
        const QByteArray url = stringListValue(HyperlinkList, text);
        if (!url.isEmpty()) {
            link(quoteAttributeValue(url), target);
            return;
        }
        Log(logWarning, "Unknown hyperlink text: \"" + text + '"');
    }
    const qsizetype at = text.indexOf('@');
    if (HyperlinkOptions.contains(hoReplaceEMailLinks) && at >= 1)
        link("mailto:" + text, QByteArray());
    else if (text.startsWith("http:") || !HyperlinkOptions.contains(hoRequireHTTP))
        link(text, target);
}

TVkOutputWriter::TVkOutputWriter(TVkBase &component, TSimpleDomDocument &document)
    : m_component(component), m_document(&document)
{
}

void TVkOutputWriter::Write()
{
    m_output.clear();
    if (m_plainText)
        WritePlainText();
    else
        WriteHtml();
}

void TVkOutputWriter::WritePlainText()
{
    for (int i = 0; i < m_document->ChildCount(); ++i) {
        const TParagraphNode &paragraph = m_document->Paragraph(i);
        QString line;
        for (int r = 0; r < paragraph.ChildCount(); ++r)
            line += paragraph.Run(r).Text();
        m_output += line.toUtf8() + CRLF;
    }
}

void TVkOutputWriter::WriteHtml()
{
    // Bodies are encoded once, in order; a list entry also needs the next body, to see whether
    // the list goes on.
    const auto encode = [this](int i) {
        while (m_bodies.size() <= i) {
            const TParagraphNode &paragraph = m_document->Paragraph(int(m_bodies.size()));
            QByteArray body;
            for (int r = 0; r < paragraph.ChildCount(); ++r)
                if (!paragraph.Run(r).Text().isEmpty())
                    body += m_component.EncodeRun(paragraph.Run(r));
            if (isBlank(body))
                body.clear();
            m_listEntry.push_back(paragraph.Properties().ListItem && !body.isEmpty());
            m_bodies.append(body);
        }
    };
    // Trailing empty paragraphs are dropped; deciding that needs their bodies, which are
    // encoded again below (encoding leaves a run's text final, so the markup is the same).
    while (m_document->ChildCount() > 0) {
        TParagraphNode &last = m_document->LastParagraph();
        QByteArray body;
        for (int r = 0; r < last.ChildCount(); ++r)
            if (!last.Run(r).Text().isEmpty())
                body += m_component.EncodeRun(last.Run(r));
        if (!isBlank(body))
            break;
        m_document->RemoveChild(&last);
    }
    m_bodies.clear();
    m_listEntry.clear();
    const int count = m_document->ChildCount();
    for (int i = 0; i < count; ++i) {
        encode(i);
        if (m_listEntry[size_t(i)] && i + 1 < count)
            encode(i + 1);
        const TParagraphNode &paragraph = m_document->Paragraph(i);
        const QByteArray &body = m_bodies[i];
        if (body.isEmpty()) {
            m_output += m_emptyParagraphToBreak ? "    " + m_lineBreakText + CRLF : m_emptyParagraphText;
        } else if (m_listEntry[size_t(i)]) {
            m_output += ListOpen(i) + "      <li" + m_component.ClassAttribute("li")
                + m_component.StyleAttribute("li") + '>' + CRLF + "      " + body + CRLF + "      </li>" + CRLF
                + ListClose(i);
        } else {
            m_output += m_component.Translator().GetParagraphStart(paragraph.Properties()) + body
                + (m_component.ConvertUsingPrettyIndents ? CRLF + "    </p>" + CRLF : "</p>" + CRLF);
        }
    }
}

QByteArray TVkOutputWriter::ListOpen(int i) const
{
    const TParagraphNode &paragraph = m_document->Paragraph(i);
    if (i > 0 && m_listEntry[size_t(i - 1)] && isBulleted(m_document->Paragraph(i - 1)) == isBulleted(paragraph))
        return QByteArray();
    const QByteArray element = isBulleted(paragraph) ? "ul" : "ol";
    return "    <" + element + m_component.ClassAttribute(element) + m_component.StyleAttribute(element) + '>'
        + CRLF;
}

QByteArray TVkOutputWriter::ListClose(int i) const
{
    const TParagraphNode &paragraph = m_document->Paragraph(i);
    if (i + 1 < int(m_listEntry.size()) && m_listEntry[size_t(i + 1)]
        && isBulleted(m_document->Paragraph(i + 1)) == isBulleted(paragraph))
        return QByteArray();
    return isBulleted(paragraph) ? "    </ul>" + CRLF : "    </ol>" + CRLF;
}

}
