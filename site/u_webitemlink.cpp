#include "u_webitemlink.h"

#include "u_template.h"
#include "u_webcollection.h"
#include "u_webitem.h"

namespace corvanta::site {

TWebLinkGroup::TWebLinkGroup(TWebCollection *collection)
    : Collection(collection), Placeholder(u'%' + collection->Code + QStringLiteral("_LINKS%"))
{
}

void TWebLinkGroup::Append(const QString &title, TWebItem *item)
{
    Entries.append({title, item});
    m_items.insert(item);
}

QString TWebLinkGroup::RenderGroup() const
{
    QString result = Template->Header;
    for (const auto &[title, item] : Entries) {
        Template->ExpandItem(item->Data, &Collection->Data, title);
        result += Template->Output;
    }
    return result + Template->Footer;
}

TWebLinkGroup *TWebItemLink::FindGroup(const TWebCollection *collection) const
{
    for (TWebLinkGroup *group : Groups) {
        if (group->Collection == collection)
            return group;
    }
    return nullptr;
}

void TWebItemLink::AddDetail(std::unique_ptr<TWebCollectionItem> detail)
{
    TWebCollectionItem *d = Details.Add(QString(), std::move(detail));
    TWebLinkGroup *group = FindGroup(d->Collection);
    if (!group) {
        group = Groups.Add(QString(), std::make_unique<TWebLinkGroup>(d->Collection));
        if (d->Item->OnFindTemplate)
            group->Template = d->Item->OnFindTemplate(d->Item, group->Placeholder);
    }
    if (!group->Contains(d->Item))
        group->Append(d->Title, d->Item);
}

TWebItemLink *TWebItemLinkCollection::Add(TWebCollection *collection, TWebItem *item)
{
    auto link = std::make_unique<TWebItemLink>();
    link->Collection = collection;
    link->Item = item;
    TWebItemLink *raw = TObjectStringList::Add(QString(), std::move(link));
    if (!m_first.contains({collection, item}))
        m_first.insert({collection, item}, raw);
    return raw;
}

TWebItemLink *TWebItemLinkCollection::Find(const TWebCollection *collection, const TWebItem *item) const
{
    return m_first.value({collection, item}, nullptr);
}

}
