#pragma once

#include <QCommandLineParser>
#include <QStringList>

#include "common/error.h"

namespace corvanta::db {
class TDataMod;
}

namespace corvanta::cli {

// Bad arguments on the command line; corvanta-cli exits with 2 for them.
class UsageError : public Error
{
public:
    using Error::Error;
};

// Parses a command's own arguments, at most maxPositional of them without an option name;
// raises a UsageError with the parser's message on bad input.
void parseArguments(QCommandLineParser &parser, const QString &command, const QStringList &args,
                    qsizetype maxPositional = 0);

// The option --database PATH, shared by the commands that open the content database.
QCommandLineOption databaseOption();
QString databasePath(const QCommandLineParser &parser);

// The option --project NAME|ID, and making that project current: a number is an id, anything
// else a name; without the option, the first project in name order as the program does.
QCommandLineOption projectOption();
void selectProject(db::TDataMod &dm, const QCommandLineParser &parser);

}
