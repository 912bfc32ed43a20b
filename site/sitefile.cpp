#include "sitefile.h"

#include "common/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace corvanta::site {

namespace {

bool sameContent(const QString &path, const QByteArray &bytes)
{
    QFile existing(path);
    if (QFileInfo(path).size() != bytes.size() || !existing.open(QIODevice::ReadOnly))
        return false;
    return existing.readAll() == bytes;
}

}

void WriteSiteFile(const QString &path, const QByteArray &bytes)
{
    if (sameContent(path, bytes))
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QString NormaliseLineBreaks(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.size() / 20);
    for (const QString &line : SplitLines(text))
        result += line + QStringLiteral("\r\n");
    return result;
}

}
