#include "helpers.h"

namespace corvanta::test {

LoggedConverter::LoggedConverter()
{
    converter.LogLevel = logDebug;
    converter.OnLog = [this](TVkBase *, TLogLevel level, const QByteArray &text) { log.emplace_back(level, text); };
}

bool LoggedConverter::logged(TLogLevel level, const QByteArray &text) const
{
    for (const auto &entry : log)
        if (entry.first == level && entry.second == text)
            return true;
    return false;
}

QByteArray fragment(TKvVelkaroXHTML &converter, const QByteArray &rtf)
{
    converter.OptionsHead().AddOuterHTML = false;
    return converter.Convert(rtf);
}

QByteArray paragraph(const QByteArray &body, const QByteArray &startTag)
{
    return "    " + startTag + "\r\n      " + body + "\r\n    </p>\r\n";
}

void configureAsBuild(TKvVelkaroXHTML &c)
{
    c.SetDocumentType(dtXHTML_10_Transitional);
    c.ConvertHyperlinks = true;
    c.HyperlinkOptions = {hoUseHyperlinkList};
    c.OptionsHead().AddOuterHTML = false;
    c.OptionsOptimize().IncludeDefaultFontStyle = true;
    c.OptionsOptimize().DefaultFontName = "Arial,Helvetica,sans-serif";
    c.OptionsOptimize().DefaultFontSize = 10;
    c.OptionsHead().MetaOptions.exclude(moMetaGenerator);
    setStringListValue(c.OptionsHead().MetaTags, "generator", "Corvanta 2.0");
    c.OptionsHead().MetaAuthor.clear();
}

}
