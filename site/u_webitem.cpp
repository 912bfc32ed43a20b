#include "u_webitem.h"

#include "macrotext.h"
#include "u_webpage.h"

namespace corvanta::site {

TWebItem *TWebItemCollection::Add(const QString &key)
{
    TWebItem *item = TObjectStringList::Add(key);
    item->OnFindTemplate = m_findTemplate;
    return item;
}

QStringList TWebItemCollection::GetHyperlinks() const
{
    QStringList lines;
    for (const TWebItem *item : *this) {
        const TWebData &data = item->Data;
        QString target = data.Url;
        if (target.isEmpty() && data.HomePage)
            target = data.HomePage->FileName + QStringLiteral("#item_") + QString::number(data.Id);
        if (!target.isEmpty())
            lines << EncodeNonAscii(data.Name) + u'=' + target;
    }
    return lines;
}

}
