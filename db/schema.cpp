#include "schema.h"

#include "fbdatabase.h"
#include "fbquery.h"
#include "sqltext.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta::db {

const QStringList &schemaTables()
{
    static const QStringList tables = {
        QStringLiteral("CMS_PROJECT"),         QStringLiteral("CMS_PAGE"),
        QStringLiteral("CMS_COLLECTION"),      QStringLiteral("CMS_DATA"),
        QStringLiteral("CMS_TEMPLATE"),        QStringLiteral("CMS_SNIPPET"),
        QStringLiteral("CMS_COLLECTION_DATA"), QStringLiteral("CMS_COLLECTION_TEMPLATE"),
        QStringLiteral("CMS_DATA_DATA"),
    };
    return tables;
}

void CreateDatabase(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists())
        throw FbError(QStringLiteral("The database file %1 already exists; it was left unchanged.").arg(path));
    if (!QDir().mkpath(file.absolutePath()))
        throw FbError(QStringLiteral("Cannot create the folder %1.").arg(file.absolutePath()));

    FbDatabase database;
    database.setDatabaseName(path);
    database.create();
    try {
        FbTransaction transaction(database);
        for (const QString &statement : splitStatements(schemaScript())) {
            FbQuery(database, transaction, statement).execute();
            transaction.commitRetaining(); // later statements refer to the tables made so far
        }
        transaction.commit();
    } catch (const FbError &e) {
        database.drop();
        throw FbError(QStringLiteral("Cannot create the database %1: %2").arg(path, e.message()));
    }
    database.close();
}

void CheckSchema(FbDatabase &database, FbTransaction &transaction)
{
    FbQuery query(database, transaction,
                  QStringLiteral("select trim(rdb$relation_name) as NAME from rdb$relations "
                                 "where coalesce(rdb$system_flag, 0) = 0"));
    QStringList missing = schemaTables();
    query.open();
    while (query.next())
        missing.removeAll(query.asString(QStringLiteral("NAME")));
    query.close();
    if (!missing.isEmpty())
        throw FbError(QStringLiteral("%1 is not a Corvanta database: the tables %2 are missing.")
                          .arg(database.databaseName(), missing.join(QStringLiteral(", "))));
}

}
