#pragma once

#include <QString>
#include <QStringList>

namespace corvanta::db {

// A statement with its named parameters (":name") replaced by positional markers ("?").
struct PositionalSql
{
    QString sql;
    QStringList parameterNames; // upper case, one per marker, in order; a name may repeat
};

// Translates named parameters; text inside quotes and comments is left alone.
PositionalSql toPositional(const QString &sql);

// Splits a script into its statements at the semicolons outside quotes and comments; pieces
// with nothing but blanks and comments are dropped.
QStringList splitStatements(const QString &script);

}
