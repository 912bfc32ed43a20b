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

}
