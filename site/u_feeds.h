#pragma once

#include <QString>

namespace corvanta::site {

class TWebCollection;

// The Atom feed of a news collection: every entry carries the whole collection rendered with
// the ATOM template (atomContent).
QString WriteAtomFeed(const TWebCollection &collection, const QString &remoteRoot, const QString &projectName,
                      const QString &atomContent);

// The RSS 0.9 (RDF) feed of a news collection.
QString WriteRssFeed(const TWebCollection &collection, const QString &remoteRoot, const QString &projectName);

// Text for between the tags of a feed: "<" and ">" as references, and "&" too unless it
// already begins a character or entity reference.
QString FeedText(const QString &text);

// A feed's bytes: its lines with CR LF, and every character of 128 and above as a numeric
// character reference, so that the file is plain ASCII whatever its texts hold.
QByteArray FeedBytes(const QString &text);

}
