#include "u_webfile.h"

#include "macrotext.h"

#include <QFileInfo>

namespace corvanta::site {

namespace {

// Bytes to kilobytes, rounded to the nearest integer with a half going to the even neighbour.
int roundedKB(qint64 bytes)
{
    const qint64 whole = bytes / 1024;
    const qint64 rest = bytes % 1024;
    const bool up = rest > 512 || (rest == 512 && whole % 2 == 1);
    return int(whole + (up ? 1 : 0));
}

}

void TFileData::SetFileName(const QString &path)
{
    FileName = path;
    SizeKB = 0;
    FileDate = zeroDateTime();
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    if (!info.isFile())
        return;
    SizeKB = roundedKB(info.size());
    FileDate = info.lastModified();
}

QString TFileData::ImageTag() const
{
    const QString name = FileNamePart(FileName);
    return QStringLiteral("<img src=\"images/%1\" border=\"0\" alt=\"%1\" />").arg(name);
}

TFileInfo *TFileCollection::Add(const QString &path, const QString &remoteFolder)
{
    return TObjectStringList::Add(QString(), std::make_unique<TFileInfo>(TFileInfo{path, remoteFolder}));
}

}
