#include "db/corvantadm.h"
#include "options.h"
#include "site/buildproject.h"

#include <QTextStream>

namespace corvanta::cli {

int build(const QStringList &args)
{
    QCommandLineParser parser;
    parser.addOption(databaseOption());
    parser.addOption(projectOption());
    parser.addOption(QCommandLineOption(QStringLiteral("output"),
                                        QStringLiteral("The folder to build into (default: the project's output folder)."),
                                        QStringLiteral("DIR")));
    parseArguments(parser, QStringLiteral("build"), args);

    db::TDataMod dm(databasePath(parser));
    dm.Connect();
    selectProject(dm, parser);
    const QString output =
        parser.isSet(QStringLiteral("output")) ? parser.value(QStringLiteral("output")) : dm.OutputFolder();
    const site::TBuildReport report = site::BuildProject(dm, output);

    QTextStream(stdout) << "Build complete: " << report.FilesWritten << " files in " << report.OutputFolder << "\n";
    if (report.LoadErrors.isEmpty())
        return 0;
    QTextStream err(stderr);
    err << "The site is incomplete: parts of the project could not be read:\n";
    for (const QString &line : report.LoadErrors)
        err << "  " << line << "\n";
    return 1;
}

}
