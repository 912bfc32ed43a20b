#include "u_webitem.h"

namespace corvanta::site {

TWebItem *TWebItemCollection::Add(const QString &key)
{
    TWebItem *item = TObjectStringList::Add(key);
    item->OnFindTemplate = m_findTemplate;
    return item;
}

}
