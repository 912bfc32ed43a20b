#include "u_template.h"

namespace corvanta::site {

TWebTemplate *TWebTemplateCollection::FindByName(const QString &name) const
{
    for (TWebTemplate *t : *this) {
        if (t->Name == name)
            return t;
    }
    return nullptr;
}

}
