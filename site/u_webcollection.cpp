#include "u_webcollection.h"

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

}
