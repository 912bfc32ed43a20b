#include "db/corvantadm.h"
#include "options.h"
#include "site/buildproject.h"
#include "site/corvantabuilder.h"
#include "site/u_factory.h"

#include <QTextStream>

namespace corvanta::cli {

// Loads a project as a build would and reports what it holds and what could not be read.
int check(const QStringList &args)
{
    QCommandLineParser parser;
    parser.addOption(databaseOption());
    parser.addOption(projectOption());
    parseArguments(parser, QStringLiteral("check"), args);

    db::TDataMod dm(databasePath(parser));
    dm.Connect();
    selectProject(dm, parser);

    site::TCorvantaBuilder builder;
    site::PrepareBuilder(builder, dm);
    auto &factory = static_cast<site::TWebFactory &>(*builder.GetFactory());
    factory.Load();

    QTextStream out(stdout);
    out << "Project \"" << factory.ProjectName << "\" (id " << dm.CurrentProjectId() << "): "
        << factory.Pages->Count() << " pages, " << factory.Collections->Count() << " collections, "
        << factory.Items->Count() << " items, " << factory.Templates->Count() << " templates, "
        << factory.Snippets->Count() << " snippets, " << factory.Links->Count() << " linking items\n";
    if (factory.LoadErrors().isEmpty())
        return 0;
    QTextStream err(stderr);
    err << "The project could not be read completely:\n";
    for (const QString &line : factory.LoadErrors())
        err << "  " << line << "\n";
    return 1;
}

}
