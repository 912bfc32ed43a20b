#pragma once

#include "objectstringlist.h"

#include <QString>

namespace corvanta::site {

// One generated HTML file of the site.
class TWebPage
{
public:
    int Id = 0;
    QString Title = QStringLiteral("Untitled document");
    QString FileName; // relative to the output folder
    QString Head;
    QString Body;
    QString Foot;
    QString Keywords;
    QString Abstract;
    QString HeadTags;
    bool IsHome = false;
    QString Output;

    // Writes the file named by FileName: Head, Output and Foot, each followed by CR LF.
    void SavePage() const;
};

class TWebPageCollection : public TObjectStringList<TWebPage>
{
public:
    // The first page with the id, or none.
    TWebPage *FindById(int id) const;
};

}
