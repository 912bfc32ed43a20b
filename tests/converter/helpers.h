#pragma once

#include "converter/vkmain.h"

#include <QByteArray>
#include <QByteArrayList>

#include <utility>
#include <vector>

namespace corvanta::test {

// A converter that records its log, with everything else at the defaults.
struct LoggedConverter
{
    LoggedConverter();
    TKvVelkaroXHTML converter;
    std::vector<std::pair<TLogLevel, QByteArray>> log;
    bool logged(TLogLevel level, const QByteArray &text) const;
};

// The body of a fragment conversion (no head), for inputs given as the document's inner part.
QByteArray fragment(TKvVelkaroXHTML &converter, const QByteArray &rtf);

// Lines of the four-space paragraph layout: "    <p>", "      TEXT", "    </p>".
QByteArray paragraph(const QByteArray &body, const QByteArray &startTag = "<p>");

}
