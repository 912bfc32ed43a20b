#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace corvanta::site {

// Writes a file of the site. The bytes go to a temporary file beside the target, which then
// replaces it, so a failed write never leaves a half-written file; a file whose bytes are
// already there is left untouched, keeping its time for the upload list.
void WriteSiteFile(const QString &path, const QByteArray &bytes);

// The lines of a text, split at CR LF, a lone CR and a lone LF; a break at the end ends the
// last line and starts no new one.
QStringList SplitLines(const QString &text);

// The lines of a text, each followed by CR LF.
QString NormaliseLineBreaks(const QString &text);

}
