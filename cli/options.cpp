#include "options.h"

#include "common/error.h"
#include "db/corvantadm.h"

namespace corvanta::cli {

void parseArguments(QCommandLineParser &parser, const QString &command, const QStringList &args,
                    qsizetype maxPositional)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList{QStringLiteral("corvanta-cli ") + command} + args))
        throw UsageError(parser.errorText());
    if (parser.positionalArguments().size() > maxPositional)
        throw UsageError(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().last()));
}

QCommandLineOption databaseOption()
{
    return QCommandLineOption(QStringLiteral("database"), QStringLiteral("The database file."), QStringLiteral("PATH"));
}

QString databasePath(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("database")) ? parser.value(QStringLiteral("database"))
                                                    : db::TDataMod::DatabaseFile();
}

QCommandLineOption projectOption()
{
    return QCommandLineOption(QStringLiteral("project"), QStringLiteral("The project's name or id."),
                              QStringLiteral("NAME|ID"));
}

void selectProject(db::TDataMod &dm, const QCommandLineParser &parser)
{
    if (!parser.isSet(QStringLiteral("project"))) {
        if (!dm.SelectFirstProject())
            throw Error(QStringLiteral("The database holds no project."));
        return;
    }
    const QString wanted = parser.value(QStringLiteral("project"));
    bool isId = false;
    const int id = wanted.toInt(&isId);
    if (isId) {
        dm.SelectProject(id);
        return;
    }
    auto query = dm.NewQuery(QStringLiteral(
        "select first 1 PROJECT_ID from CMS_PROJECT where PROJECT_NAME = :NAME order by PROJECT_ID"));
    query->setParam(QStringLiteral("NAME"), wanted);
    query->open();
    if (!query->next())
        throw Error(QStringLiteral("There is no project named \"%1\".").arg(wanted));
    dm.SelectProject(query->asInt(QStringLiteral("PROJECT_ID")));
}

}
