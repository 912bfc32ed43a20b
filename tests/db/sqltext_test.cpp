#include "db/sqltext.h"

#include <gtest/gtest.h>

using namespace corvanta::db;

struct PositionalCase
{
    const char *sql;
    const char *expected;
    QStringList names;
};

TEST(SqlText, NamedParametersBecomePositional)
{
    const PositionalCase cases[] = {
        {"select * from t where a = :project_id", "select * from t where a = ?", {"PROJECT_ID"}},
        {"where a=:a and b = :B and c = :a", "where a=? and b = ? and c = ?", {"A", "B", "A"}},
        {"where a = ':x' and b = :y", "where a = ':x' and b = ?", {"Y"}},
        {"where \"A:B\" = :v", "where \"A:B\" = ?", {"V"}},
        {"-- :no\nselect :yes /* :no */", "-- :no\nselect ? /* :no */", {"YES"}},
        {"select gen_id(GEN_CMS_ID,1) from rdb$database", "select gen_id(GEN_CMS_ID,1) from rdb$database", {}},
        {"a : b", "a : b", {}},
    };
    for (const auto &c : cases) {
        const PositionalSql p = toPositional(QString::fromUtf8(c.sql));
        EXPECT_EQ(p.sql, QString::fromUtf8(c.expected)) << c.sql;
        EXPECT_EQ(p.parameterNames, c.names) << c.sql;
    }
}

TEST(SqlText, ScriptSplitsAtSemicolonsOutsideQuotesAndComments)
{
    const QString script = QStringLiteral(
        "-- heading; with a semicolon\n"
        "create table a (x varchar(5) default ';');\n"
        "/* block ; comment */ insert into a values ('x;y');\n"
        "-- trailing comment only\n");
    EXPECT_EQ(splitStatements(script),
              (QStringList{QStringLiteral("-- heading; with a semicolon\ncreate table a (x varchar(5) default ';')"),
                           QStringLiteral("/* block ; comment */ insert into a values ('x;y')")}));
}
