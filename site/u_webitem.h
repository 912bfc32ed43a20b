#pragma once

#include "common/datetime.h"
#include "objectstringlist.h"
#include "u_webfile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace corvanta::site {

class TWebCollection;
class TWebPage;
class TWebTemplate;
class TWebItem;

// The content shared by items and collections.
class TWebData
{
public:
    int Id = 0;
    QString Name;
    QDateTime DateTime = zeroDateTime();
    QString Url;
    TFileData FileData;
    QString Abstract;
    TWebPage *HomePage = nullptr;
    QString Text; // RTF when it begins with "{", else plain text
    QList<TWebCollection *> Collections;
};

// Looks a template up by its exact name; none when there is no such template.
using TFindTemplateEvent = std::function<TWebTemplate *(TWebItem *sender, const QString &name)>;

class TWebItem
{
public:
    TWebData Data;
    TFindTemplateEvent OnFindTemplate;
};

// All items of the project, keyed by the decimal text of their id.
class TWebItemCollection : public TObjectStringList<TWebItem>
{
public:
    explicit TWebItemCollection(TFindTemplateEvent findTemplate) : m_findTemplate(std::move(findTemplate)) {}
    // A new item that looks templates up through the factory.
    TWebItem *Add(const QString &key);
    // One "name=address" line per item that has an address: its URL, else the anchor on its
    // home page. Names are encoded as the converter encodes link texts.
    QStringList GetHyperlinks() const;

private:
    TFindTemplateEvent m_findTemplate;
};

}
