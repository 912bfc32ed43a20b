#include "u_webcollection.h"

#include "macrotext.h"
#include "u_template.h"
#include "u_webitemlink.h"

namespace corvanta::site {

void TWebCollection::AddItem(TWebItem *item)
{
    item->Data.HomePage = Data.HomePage;
    Items.append(item);
    m_members.insert(item);
}

TWebCollection *TWebCollections::Add()
{
    return m_items.Add(QString());
}

TWebCollection *TWebCollections::getItem(int id) const
{
    for (TWebCollection *c : m_items) {
        if (c->Data.Id == id)
            return c;
    }
    return nullptr;
}

namespace {

const QString lineBreak = QStringLiteral("\r\n");

// An item through the template, with the rendered link groups of its link in this collection
// in place of their placeholders. Groups without a template leave the text alone.
QString renderItem(TWebCollection *collection, TWebTemplate *templ, TWebItem *item)
{
    templ->ExpandItem(item->Data, &collection->Data, QString());
    TWebItemLink *link = collection->OnFindLink ? collection->OnFindLink(collection, item) : nullptr;
    if (!link)
        return templ->Output;
    QString text = templ->Output;
    for (TWebLinkGroup *group : link->Groups) {
        if (group->Template && text.contains(group->Placeholder, Qt::CaseInsensitive))
            ReplaceText(text, group->Placeholder, group->RenderGroup());
    }
    return text;
}

}

QString TStyledCollections::RenderCollection(TWebCollection *collection, TWebTemplate *templ)
{
    QString result = templ->Header + lineBreak;
    for (TWebItem *item : std::as_const(collection->Items))
        result += renderItem(collection, templ, item) + lineBreak;
    return result + templ->Footer + lineBreak;
}

void TStyledCollections::RenderAll()
{
    for (TStyledCollection *styled : *this)
        styled->Output = RenderCollection(styled->Collection, styled->Template);
}

QString TStyledCollections::ReplaceStyled(const QString &text) const
{
    auto placeholderOf = [](const TStyledCollection *styled) {
        return u'%' + styled->Collection->Code + u'_' + styled->Template->Name + u'%';
    };
    qsizetype longest = 0;
    for (const TStyledCollection *styled : *this)
        longest = qMax(longest, placeholderOf(styled).size());
    QString result = text;
    TPlaceholderIndex index(result, longest);
    for (TStyledCollection *styled : *this) {
        const QString placeholder = placeholderOf(styled);
        if (!index.Contains(result, placeholder, Qt::CaseInsensitive))
            continue;
        ReplaceText(result, placeholder, styled->Output);
        index.Rebuild(result);
    }
    return result;
}

}
