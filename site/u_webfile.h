#pragma once

#include "common/datetime.h"
#include "objectstringlist.h"

#include <QDateTime>
#include <QString>

namespace corvanta::site {

// A file on the local disk with its size and last-write time.
class TFileData
{
public:
    QString FileName;
    QDateTime FileDate = zeroDateTime();
    int SizeKB = 0;

    // Stores the path and reads the file's size (KB, rounded half to even) and time; a file that
    // cannot be found has size 0 and the zero date.
    void SetFileName(const QString &path);
    // The tag that shows this file as an image of the site's images folder.
    QString ImageTag() const;
};

// One entry of the build's file manifest.
struct TFileInfo
{
    QString LocalPath;
    QString RemoteFolder;
};

// Every file the build wrote or referenced, in build order.
class TFileCollection : public TObjectStringList<TFileInfo>
{
public:
    TFileInfo *Add(const QString &path, const QString &remoteFolder);
};

}
