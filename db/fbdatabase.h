#pragma once

#include "fberror.h"

#include <QString>

#include <functional>
#include <memory>

namespace Firebird {
class IAttachment;
class ITransaction;
}

namespace corvanta::db {

// A connection to one database file through the embedded engine: the file is named by its
// local path alone, so the engine opens it in this process.
class FbDatabase
{
public:
    FbDatabase();
    ~FbDatabase();
    FbDatabase(const FbDatabase &) = delete;
    FbDatabase &operator=(const FbDatabase &) = delete;

    // Called right before every connect; the owner sets the database name here.
    std::function<void()> BeforeConnect;

    void setDatabaseName(const QString &path) { m_databaseName = path; }
    QString databaseName() const { return m_databaseName; }

    void open();
    // Creates the file (UTF8, dialect 3) and stays connected to it.
    void create();
    // Detaches and deletes the file; for removing a database whose creation failed.
    void drop();
    void close();
    bool connected() const { return m_attachment != nullptr; }

    // The engine's attachment, connecting first when needed.
    Firebird::IAttachment *attachment();

private:
    void attach(bool createFile);

    QString m_databaseName;
    Firebird::IAttachment *m_attachment = nullptr;
};

// The one transaction of a connection. It starts by itself at the first access and, like the
// connection's default action, commits when it is destroyed.
class FbTransaction
{
public:
    explicit FbTransaction(FbDatabase &database);
    ~FbTransaction();
    FbTransaction(const FbTransaction &) = delete;
    FbTransaction &operator=(const FbTransaction &) = delete;

    FbDatabase &database() const { return m_database; }
    bool active() const { return m_transaction != nullptr; }
    Firebird::ITransaction *handle();
    void commit();
    // Makes the work so far durable and goes on in the same transaction.
    void commitRetaining();
    void rollback();

private:
    FbDatabase &m_database;
    Firebird::ITransaction *m_transaction = nullptr;
};

}
