#pragma once

#include <QString>
#include <QStringList>

namespace corvanta {
class TKvVelkaroXHTML;
namespace db {
class TDataMod;
}
}

namespace corvanta::site {

// What a build did: where it wrote, how many pages and feeds, and the parts of the project that
// could not be read (the site is then incomplete although every step ran).
struct TBuildReport
{
    QString OutputFolder;
    int FilesWritten = 0;
    QStringList LoadErrors;
};

class TCorvantaBuilder;

// Gives the builder the data module's connection, transaction and current project, and a new
// factory for them.
void PrepareBuilder(TCorvantaBuilder &builder, db::TDataMod &dm);

// Sets the converter up as every build uses it: XHTML 1.0 Transitional fragments with links from
// the hyperlink list, Arial 10 pt as the default font, and the generator named Corvanta.
void ConfigureConverter(TKvVelkaroXHTML &converter);

// Builds the data module's current project into outputFolder (created when missing) with a
// converter configured for the site's pages. Raises when the project cannot be loaded or
// written; a project name that cannot be a folder name stops it before anything is written.
TBuildReport BuildProject(db::TDataMod &dm, const QString &outputFolder);

}
