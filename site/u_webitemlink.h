#pragma once

#include "objectstringlist.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

namespace corvanta::site {

class TWebCollection;
class TWebItem;
class TWebTemplate;

// One linked (detail) item and the collection it is shown in.
class TWebCollectionItem
{
public:
    TWebCollection *Collection = nullptr;
    TWebItem *Item = nullptr;
    QString Title;
};

using TWebCollectionItems = TObjectStringList<TWebCollectionItem>;

// The details of one link that belong to one detail collection, each item once.
class TWebLinkGroup
{
public:
    explicit TWebLinkGroup(TWebCollection *collection);

    TWebCollection *const Collection;
    QList<QPair<QString, TWebItem *>> Entries; // (title, item), in order of first appearance
    const QString Placeholder;                 // "%" + collection code + "_LINKS%"
    TWebTemplate *Template = nullptr;

    bool Contains(const TWebItem *item) const { return m_items.contains(item); }
    void Append(const QString &title, TWebItem *item);
    // The template's header, each entry expanded through it, and its footer; no line breaks
    // are added. Only for a group that has a template.
    QString RenderGroup() const;

private:
    QSet<const TWebItem *> m_items;
};

// A master item, shown in a master collection, and the items it links to.
class TWebItemLink
{
public:
    TWebCollection *Collection = nullptr;
    TWebItem *Item = nullptr;
    TWebCollectionItems Details;
    TObjectStringList<TWebLinkGroup> Groups;

    // The first group of the collection, or none.
    TWebLinkGroup *FindGroup(const TWebCollection *collection) const;
    // Appends the detail and files its item in the group of its collection (created on first use,
    // with the template named like the group's placeholder).
    void AddDetail(std::unique_ptr<TWebCollectionItem> detail);
};

class TWebItemLinkCollection : public TObjectStringList<TWebItemLink>
{
public:
    TWebItemLink *Add(TWebCollection *collection, TWebItem *item);
    // The first link of this very collection and item, or none.
    TWebItemLink *Find(const TWebCollection *collection, const TWebItem *item) const;

private:
    QHash<QPair<const TWebCollection *, const TWebItem *>, TWebItemLink *> m_first;
};

}
