#pragma once

#include "fbdatabase.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace Firebird {
class IStatement;
class IResultSet;
class IMessageMetadata;
}

namespace corvanta::db {

// One SQL statement on a connection and its transaction, with named parameters (":name") and
// columns read by name. Null values read as 0, the empty text or the zero date.
class FbQuery
{
public:
    FbQuery(FbDatabase &database, FbTransaction &transaction, const QString &sql = {});
    ~FbQuery();
    FbQuery(const FbQuery &) = delete;
    FbQuery &operator=(const FbQuery &) = delete;

    // A new statement text; closes a result that is still open and forgets the parameters.
    void setSql(const QString &sql);
    QString sql() const { return m_sql; }

    void setParam(const QString &name, int value);
    void setParam(const QString &name, const QString &value);
    void setParam(const QString &name, const QDateTime &value);
    void setNull(const QString &name);

    // Runs a select; rows are then read with next().
    void open();
    // Moves to the next row; false when there is none.
    bool next();
    void close();
    bool isOpen() const { return m_cursor != nullptr; }
    // Runs a statement that returns no rows.
    void execute();

    bool isNull(const QString &column) const;
    int asInt(const QString &column) const;
    QString asString(const QString &column) const;
    QDateTime asDateTime(const QString &column) const;

private:
    struct Column;
    void prepare();
    void freeStatement();
    Firebird::IMessageMetadata *bindInput(QByteArray &buffer);
    void prepareOutput();
    const Column &column(const QString &name) const;
    const unsigned char *data(const Column &c) const;
    QByteArray readBlob(const Column &c) const;

    FbDatabase &m_database;
    FbTransaction &m_transaction;
    QString m_sql;
    QStringList m_parameterNames;
    QHash<QString, QVariant> m_params;
    Firebird::IStatement *m_statement = nullptr;
    Firebird::IResultSet *m_cursor = nullptr;
    Firebird::IMessageMetadata *m_outputMeta = nullptr;
    std::vector<Column> m_columns;
    QHash<QString, int> m_columnIndex;
    QByteArray m_row;
};

}
