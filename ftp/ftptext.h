#pragma once

#include <QString>
#include <QStringList>

namespace corvanta {

// The panel's user-visible texts go through this one function (domain "driftway"); it
// returns the English text unchanged, so a translation can be hooked in later.
QString DriftwayText(const char *text);

// Fills a pattern in the panel's message style: "%s" takes the next argument, "%N:s" the
// argument with index N, "%%" is a percent sign. A placeholder without an argument stays.
QString FormatText(const QString &pattern, const QStringList &args);

// DriftwayText then FormatText: the usual way a panel message is built.
QString DriftwayFormat(const char *pattern, const QStringList &args);

}
