#include "u_webpage.h"

namespace corvanta::site {

TWebPage *TWebPageCollection::FindById(int id) const
{
    for (TWebPage *page : *this) {
        if (page->Id == id)
            return page;
    }
    return nullptr;
}

}
