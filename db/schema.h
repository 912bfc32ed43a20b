#pragma once

#include <QString>
#include <QStringList>

namespace corvanta::db {

class FbDatabase;
class FbTransaction;

// The script that creates the content tables and the id generator.
QString schemaScript();

// The tables every content database has.
const QStringList &schemaTables();

// Creates a new database file with the schema. Refuses an existing file, creates missing parent
// folders, and removes the file again when the schema cannot be created.
void CreateDatabase(const QString &path);

// Raises an FbError naming the missing tables when the database lacks the schema.
void CheckSchema(FbDatabase &database, FbTransaction &transaction);

}
