#include "common/testdb.h"

#include "db/schema.h"

namespace corvanta::test {

TestDatabase::TestDatabase() : m_path(m_dir.path(QStringLiteral("test.fdb")))
{
    db::CreateDatabase(m_path);
    reconnect();
}

void TestDatabase::reconnect()
{
    m_dm.reset(); // commits
    m_dm = std::make_unique<db::TDataMod>(m_path);
    m_dm->Connect();
}

void TestDatabase::exec(const QString &sql, const QVariantMap &params)
{
    auto query = m_dm->NewQuery(sql);
    for (auto it = params.begin(); it != params.end(); ++it) {
        if (it.value().isNull())
            query->setNull(it.key());
        else if (it.value().typeId() == QMetaType::Int)
            query->setParam(it.key(), it.value().toInt());
        else if (it.value().typeId() == QMetaType::QDateTime)
            query->setParam(it.key(), it.value().toDateTime());
        else
            query->setParam(it.key(), it.value().toString());
    }
    query->execute();
}

}
