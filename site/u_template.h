#pragma once

#include "objectstringlist.h"

#include <QString>

#include <functional>

namespace corvanta::site {

class TWebData;
class TWebTemplate;

// Formats an item text (converts RTF) for a template.
using TFormatEvent = std::function<QString(TWebTemplate *sender, const QString &text)>;

// A collection template: a header, a body written once per item and a footer.
class TWebTemplate
{
public:
    QString Name;
    QString Header;
    QString Body;
    QString Footer;
    TFormatEvent OnFormat;
    QString Output; // the working text of the last expansion

    // Fills Output with Body, its item macros replaced for one item shown through the
    // collection `home` (none for no collection) under a link title.
    void ExpandItem(const TWebData &data, const TWebData *home, const QString &title);

private:
    QString Format(const QString &text);
};

// All templates of the project, keyed by the decimal text of their id.
class TWebTemplateCollection : public TObjectStringList<TWebTemplate>
{
public:
    // The first template with exactly this name (letter case counts), or none.
    TWebTemplate *FindByName(const QString &name) const;
    // Removes the names of the templates that begin with "%": the placeholders of link groups
    // that an item did not have.
    QString RemoveLinkPlaceholders(const QString &text) const;
};

}
