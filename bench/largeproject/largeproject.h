#pragma once

#include <QString>

#include <memory>

namespace corvanta::db {
class TDataMod;
}

namespace corvanta::bench {

// The size of a generated project; the defaults are the large project every benchmark uses.
struct LargeProjectSize
{
    int items = 10000;
    int textBytes = 2048; // RTF text of each item
    int collections = 20;
    int membersPerCollection = 500;
    int pages = 200;
    int snippets = 50;
    int links = 2000; // rows of item links, two details per linking item
};

// Writes a project of the given size into the database (committed) and returns its id. The
// content is deterministic: the same size gives the same project.
int GenerateLargeProject(db::TDataMod &dm, const LargeProjectSize &size = {});

// The data module of the large project's database at path, generated there first when the file
// does not exist, with that project current.
std::unique_ptr<db::TDataMod> OpenLargeProject(const QString &path);

// An RTF text of about `bytes` bytes, as the rich text editor writes it.
QString GeneratedRtf(int seed, int bytes);

}
