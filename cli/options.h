#pragma once

#include <QCommandLineParser>
#include <QStringList>

namespace corvanta::db {
class TDataMod;
}

namespace corvanta::cli {

// Parses a command's own arguments; raises an Error with the parser's message on bad input.
void parseArguments(QCommandLineParser &parser, const QString &command, const QStringList &args);

// The option --database PATH, shared by the commands that open the content database.
QCommandLineOption databaseOption();
QString databasePath(const QCommandLineParser &parser);

// The option --project NAME|ID, and making that project current: a number is an id, anything
// else a name; without the option, the first project in name order as the program does.
QCommandLineOption projectOption();
void selectProject(db::TDataMod &dm, const QCommandLineParser &parser);

}
