#include "sqltext.h"

#include <functional>

namespace corvanta::db {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Calls onCode(i) for every character of sql that is outside quotes and comments, and
// returns how many characters onCode consumed beyond i through its return value.
void forEachCodeChar(const QString &sql, const std::function<qsizetype(qsizetype)> &onCode)
{
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = sql.indexOf(c, i + 1);
            i = end < 0 ? n : end + 1;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            i = end < 0 ? n : end + 1;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else {
            i += 1 + onCode(i);
        }
    }
}

}

PositionalSql toPositional(const QString &sql)
{
    PositionalSql result;
    qsizetype copied = 0;
    forEachCodeChar(sql, [&](qsizetype i) -> qsizetype {
        if (sql[i] != u':' || i + 1 >= sql.size() || !isNameChar(sql[i + 1]))
            return 0;
        qsizetype end = i + 1;
        while (end < sql.size() && isNameChar(sql[end]))
            ++end;
        result.sql += QStringView(sql).mid(copied, i - copied);
        result.sql += u'?';
        result.parameterNames << sql.mid(i + 1, end - i - 1).toUpper();
        copied = end;
        return end - i - 1;
    });
    result.sql += QStringView(sql).mid(copied);
    return result;
}

QStringList splitStatements(const QString &script)
{
    QStringList statements;
    qsizetype start = 0;
    bool hasCode = false; // a piece of only comments is no statement
    auto take = [&](qsizetype end) {
        if (hasCode)
            statements << script.mid(start, end - start).trimmed();
        start = end + 1;
        hasCode = false;
    };
    forEachCodeChar(script, [&](qsizetype i) -> qsizetype {
        if (script[i] == u';')
            take(i);
        else if (!script[i].isSpace())
            hasCode = true;
        return 0;
    });
    take(script.size());
    return statements;
}

}
