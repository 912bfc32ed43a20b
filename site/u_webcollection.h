#pragma once

#include "objectstringlist.h"
#include "u_webitem.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>

namespace corvanta::site {

class TWebCollection;
class TWebItemLink;
class TWebTemplate;

// Finds the link of an item shown in a collection; none when the item links nowhere.
using TFindLinkEvent = std::function<TWebItemLink *(TWebCollection *collection, TWebItem *item)>;

// A named, sorted group of items, rendered through templates.
class TWebCollection
{
public:
    QString Code;
    QList<TWebItem *> Items;
    quint8 SortBy = 0; // 0 by sequence, 1 by name, 2 by date
    bool SortDesc = false;
    TWebData Data;
    TFindLinkEvent OnFindLink;

    // Gives the item this collection's home page (also none) and appends it.
    void AddItem(TWebItem *item);
    // Whether this very item is a member.
    bool Contains(const TWebItem *item) const { return m_members.contains(item); }

private:
    QSet<const TWebItem *> m_members;
};

class TWebCollections
{
public:
    TWebCollection *Add();
    // The first collection with the id, or none.
    TWebCollection *getItem(int id) const;
    qsizetype Count() const { return m_items.Count(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    TObjectStringList<TWebCollection> m_items;
};

// A collection to render with one of its templates.
class TStyledCollection
{
public:
    TWebCollection *Collection = nullptr;
    TWebTemplate *Template = nullptr;
    QString Output;
};

class TStyledCollections : public TObjectStringList<TStyledCollection>
{
public:
    // The header, each item through the template (with its link groups), and the footer, each
    // followed by CR LF.
    static QString RenderCollection(TWebCollection *collection, TWebTemplate *templ);
    // Renders every styled collection into its Output.
    void RenderAll();
    // Replaces each "%" + code + "_" + template name + "%" by that rendering.
    QString ReplaceStyled(const QString &text) const;
};

}
