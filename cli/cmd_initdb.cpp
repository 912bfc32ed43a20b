#include "db/corvantadm.h"
#include "db/schema.h"
#include "options.h"
#include "sampleproject.h"

#include <QTextStream>

namespace corvanta::cli {

int initDb(const QStringList &args)
{
    QCommandLineParser parser;
    parser.addOption(databaseOption());
    parser.addOption(QCommandLineOption(QStringLiteral("sample"), QStringLiteral("Add the sample project.")));
    parseArguments(parser, QStringLiteral("init-db"), args);

    const QString path = databasePath(parser);
    db::CreateDatabase(path);
    QTextStream out(stdout);
    out << "Created the database " << path << "\n";
    if (parser.isSet(QStringLiteral("sample"))) {
        db::TDataMod dm(path);
        dm.Connect();
        const int id = CreateSampleProject(dm);
        dm.IBTransaction1.commit();
        out << "Added the sample project (id " << id << ")\n";
    }
    return 0;
}

}
