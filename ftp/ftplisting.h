#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace corvanta {

// One entry of a directory listing as the server described it.
struct FtpListEntry
{
    enum Kind { File, Directory, Link, LinkDirectory };

    QString Name;
    Kind Type = File;
    qint64 Size = -1;   // -1: the listing gave no size
    QDateTime Modified; // invalid: the listing gave no time
    QString Unique;     // MLSD "unique" fact: the same value means the same directory
    QString LinkTarget; // LIST "name -> target" of a link

    bool IsDirectory() const { return Type == Directory || Type == LinkDirectory; }
    bool IsLink() const { return Type == Link || Type == LinkDirectory; }
};

// One line of an MLSD reply ("fact=value;...; name"). Lines for the listed directory
// itself or its parent (type cdir and pdir) and malformed lines give nothing.
std::optional<FtpListEntry> ParseMlsdLine(const QString &line);

// One line of a LIST reply in Unix "ls -l" style (with "Mon dd hh:mm" or "Mon dd  yyyy")
// or DOS/IIS style ("mm-dd-yy hh:mmPM <DIR> name"). Other lines ("total 12") give nothing.
// now decides the year of Unix dates given without one.
std::optional<FtpListEntry> ParseListLine(const QString &line,
                                          const QDateTime &now = QDateTime::currentDateTime());

}
