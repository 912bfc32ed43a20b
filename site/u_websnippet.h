#pragma once

#include "objectstringlist.h"

#include <QString>

namespace corvanta::site {

class IFactory;

// A named piece of text that replaces its macro everywhere.
class TWebSnippet
{
public:
    QString Name;
    QString Text;
};

// All snippets of the project, keyed by name. Knows the factory it belongs to; the factory
// outlives it (the snippet list is the first list it releases).
class TWebSnippetCollection : public TObjectStringList<TWebSnippet>
{
public:
    explicit TWebSnippetCollection(IFactory *factory) : Factory(factory) {}
    IFactory *const Factory;

    // Up to four passes that replace each snippet's placeholder (when it occurs exactly) by
    // its text, stopping after a pass without change; then the build-time stamps.
    QString ReplaceSnippets(const QString &text) const;
};

}
