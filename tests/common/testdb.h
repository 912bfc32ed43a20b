#pragma once

#include "common/tempdir.h"
#include "db/corvantadm.h"

#include <memory>

namespace corvanta::test {

// A fresh content database in a temporary folder, connected through a data module.
class TestDatabase
{
public:
    TestDatabase();
    QString path() const { return m_path; }
    db::TDataMod &dm() { return *m_dm; }
    // Runs one statement with named integer or text parameters.
    void exec(const QString &sql, const QVariantMap &params = {});
    // Closes and reopens the connection, committing what was written.
    void reconnect();

private:
    TempDir m_dir;
    QString m_path;
    std::unique_ptr<db::TDataMod> m_dm;
};

}
