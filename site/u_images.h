#pragma once

#include "objectstringlist.h"
#include "u_webfile.h"

namespace corvanta::site {

// The image files of the site, keyed by file name.
class TImageCollection : public TObjectStringList<TFileData>
{
public:
    // Appends every file directly in folder (hidden ones too, no sub-folders) under its name as
    // the file system spells it, in name order; a missing folder adds nothing.
    void ScanFolder(const QString &folder);
    // Replaces "%" + file name + "%" by the image's tag, for the names that occur exactly.
    QString ReplaceImages(const QString &text) const;
};

}
