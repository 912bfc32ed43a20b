#pragma once

#include <QString>

namespace corvanta::db {
class TDataMod;
}

namespace corvanta::cli {

// Adds the sample project (a small news-and-docs site) to the database and returns its id.
// Its downloadable file is written into the project's default output folder, under download/,
// where the upload finds it.
int CreateSampleProject(db::TDataMod &dm);

}
