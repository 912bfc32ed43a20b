#include "u_webpage.h"

#include "sitefile.h"

namespace corvanta::site {

void TWebPage::SavePage() const
{
    const QString crlf = QStringLiteral("\r\n");
    WriteSiteFile(FileName, (Head + crlf + Output + crlf + Foot + crlf).toUtf8());
}

TWebPage *TWebPageCollection::FindById(int id) const
{
    for (TWebPage *page : *this) {
        if (page->Id == id)
            return page;
    }
    return nullptr;
}

}
