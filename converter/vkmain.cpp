#include "converter/vkmain.h"

#include "converter/vkdom.h"
#include "converter/vkoutput.h"
#include "converter/vkreader.h"
#include "converter/vktranslator.h"

#include <QDateTime>

#include <exception>

namespace corvanta {

namespace {

QByteArray exceptionMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

}

QByteArray TVkMain::Convert(const QByteArray &rtf)
{
    QByteArray result;
    try {
        if (OnBeforeConvert)
            OnBeforeConvert(this);
        result = DoConvert(rtf);
        if (OnAfterConvert)
            OnAfterConvert(this);
    } catch (...) {
        // Only a raising event handler gets here; the build must go on with what there is.
        try {
            Log(logError, exceptionMessage(std::current_exception()));
        } catch (...) {
        }
    }
    return result;
}

QByteArray TVkMain::DoConvert(const QByteArray &rtf)
{
    Log(logDebug, "TCustomVelkaro.DoConvert " + QByteArray::number(int(LogLevel)));
    Aborted = false;
    if (!rtf.startsWith("{\\rtf")) {
        Log(logError, "No RTF header found");
        return QByteArray();
    }
    QByteArray result = ConvertDocument(rtf);
    if (!ConvertToPlainText && OptionsHead().AddOuterHTML) {
        Log(logInfo, "Start wrapping");
        result = BuildHead() + result + BuildFoot();
        Log(logInfo, "End of wrapping");
    }
    return result;
}

QByteArray TVkMain::ConvertDocument(const QByteArray &rtf)
{
    TVkWriter builder(*this);
    Translator().SetParagraphDefaults("<p" + ClassAttribute("p"),
                                      quoteAttributeValue(stringListValue(ElementStyles, "p")));
    Translator().SetFontSizeScale(FontSizeScale);
    try {
        TVkReader reader(*this, builder);
        Log(logDebug, "Start conversion");
        reader.Parse(rtf);
        Log(logDebug, "End of conversion");
    } catch (...) {
        Log(logError, exceptionMessage(std::current_exception()));
        return QByteArray();
    }
    TVkOutputWriter writer(*this, builder.Document());
    writer.SetEmptyParagraphToBreak(ConvertEmptyParagraphs && Translator().IsTransitional());
    writer.SetEmptyParagraphText("    <p" + ClassAttribute("p") + StyleAttribute("p") + ">\r\n    </p>\r\n");
    writer.SetLineBreakText(LineBreakText());
    writer.SetPlainText(ConvertToPlainText);
    try {
        writer.Write();
    } catch (...) {
        Log(logError, exceptionMessage(std::current_exception()));
    }
    return writer.Output();
}

QByteArray TVkMain::MetaTag(const QByteArray &attribute, const QByteArray &name, const QByteArray &content) const
{
    return "<meta " + attribute + "=\"" + quoteAttributeValue(name) + "\" content=\"" + quoteAttributeValue(content)
        + '"' + Translator().GetEmptyElementEnd();
}

QByteArray TVkMain::BodyRule() const
{
    const TVkOptionsOptimize &optimize = OptionsOptimize();
    QByteArray rule = "BODY {";
    if (!optimize.DefaultFontName.isEmpty())
        rule += "font-family:" + optimize.DefaultFontName + ';';
    if (optimize.DefaultFontSize > 0)
        rule += Translator().GetFontSizeStyle(optimize.DefaultFontSize);
    if (!optimize.DefaultFontColor.isEmpty())
        rule += "color:" + optimize.DefaultFontColor + ';';
    return rule + " }";
}

QByteArray TVkMain::BuildHead()
{
    TVkFormatter &f = Formatter();
    TCustomTranslator &dialect = Translator();
    const TVkOptionsHead &head = OptionsHead();
    f.SetLevel(0);
    f.SetLineEnd(QByteArray());
    QByteArrayList lines;
    if (IncludeXMLDeclaration && dialect.UsesXmlLang())
        lines << f.FormatLine("<?xml version=\"1.0\"?>");
    if (IncludeDocType || dialect.DocTypeRequired())
        lines << f.FormatLine(dialect.GetDocType());
    lines << f.FormatLine(dialect.GetHtmlElement());
    lines << f.IndentLine("<head>") << f.IndentLine("<title>") << f.IndentLine(head.DocumentTitle)
          << f.OutdentLine("</title>");
    const auto meta = [&](const QByteArray &attribute, const QByteArray &name, const QByteArray &content) {
        if (!content.isEmpty())
            lines << f.FormatLine(MetaTag(attribute, name, content));
    };
    meta("http-equiv", "content-type", head.MetaContentType);
    meta("name", "author", head.MetaAuthor);
    if (head.MetaOptions.contains(moMetaDate)) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QDate d = now.date();
        const QTime t = now.time();
        meta("name", "date", QByteArray::number(d.year()) + '-' + twoDigits(d.month()) + '-' + twoDigits(d.day())
                 + 'T' + twoDigits(t.hour()) + ':' + twoDigits(t.minute()) + ':' + twoDigits(t.second())
                 + "+00:00");
    }
    meta("name", "description", head.MetaDescription);
    if (head.MetaOptions.contains(moMetaGenerator))
        meta("name", "generator", ClassName() + ' ' + Version());
    meta("name", "keywords", head.MetaKeywords);
    for (const QByteArray &entry : head.MetaTags) {
        const QByteArray name = stringListName(entry);
        meta("name", name, stringListValue(head.MetaTags, name));
    }
    for (const QByteArray &line : head.HeadTags)
        lines << f.FormatLine(line);
    if (!head.StyleSheetLink.isEmpty())
        lines << f.FormatLine("<link rel=\"stylesheet\" type=\"text/css\" href=\""
                              + quoteAttributeValue(head.StyleSheetLink) + '"' + dialect.GetEmptyElementEnd());
    const TVkOptionsOptimize &optimize = OptionsOptimize();
    if ((!head.StyleSheetInclude.isEmpty() || optimize.IncludeDefaultFontStyle) && dialect.IsElementSupported("style")) {
        lines << f.FormatLine("<style type=\"text/css\">") << f.FormatLine("<!--");
        f.SetLevel(f.GetLevel() + 1);
        if (optimize.IncludeDefaultFontStyle)
            lines << f.FormatLine(BodyRule());
        for (const QByteArray &line : head.StyleSheetInclude)
            lines << f.FormatLine(line);
        lines << f.IndentLine("-->");
        f.SetLevel(f.GetLevel() - 1);
        lines << f.OutdentLine("</style>");
    }
    lines << f.OutdentLine("</head>");
    const QByteArray lang = ConvertLanguage && !DefaultLanguage.isEmpty() ? dialect.GetLangAttribute(DefaultLanguage)
                                                                          : QByteArray();
    lines << f.FormatLine("<body" + lang + '>');
    QByteArray result;
    for (const QByteArray &line : lines)
        result += line + "\r\n";
    return result;
}

}
