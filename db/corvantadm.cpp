#include "corvantadm.h"

#include "schema.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace corvanta::db {

namespace {

QString withDelimiter(QString path)
{
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

}

TDataMod::TDataMod(const QString &databaseFile) : m_databaseFile(databaseFile)
{
    IBDBCorvanta.BeforeConnect = [this] { IBDBCorvantaBeforeConnect(); };
}

QString TDataMod::DataFolder()
{
    return withDelimiter(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        + QStringLiteral("Tessivon/Corvanta/") + QStringLiteral("2.0") + u'/';
}

QString TDataMod::DatabaseFile()
{
    return DataFolder() + QStringLiteral("Corvanta.fdb");
}

QString TDataMod::BackupFolder()
{
    return DataFolder() + QStringLiteral("backup/");
}

QString TDataMod::OutputFolderFor(const QString &projectName)
{
    return withDelimiter(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        + QStringLiteral("Corvanta/") + QStringLiteral("2.0") + u'/' + projectName + u'/';
}

void TDataMod::IBDBCorvantaBeforeConnect()
{
    IBDBCorvanta.setDatabaseName(m_databaseFile);
}

void TDataMod::Connect()
{
    if (IBDBCorvanta.connected())
        return;
    if (!QFileInfo(m_databaseFile).isFile())
        throw FbError(QStringLiteral("The database file %1 does not exist.").arg(m_databaseFile));
    try {
        IBDBCorvanta.open();
    } catch (const FbError &e) {
        throw FbError(QStringLiteral("Cannot open the database %1: %2").arg(m_databaseFile, e.message()));
    }
    CheckSchema(IBDBCorvanta, IBTransaction1);
}

int TDataMod::NextId()
{
    FbQuery query(IBDBCorvanta, IBTransaction1, QStringLiteral("select gen_id(GEN_CMS_ID,1) from rdb$database"));
    query.open();
    query.next();
    return query.asInt(QStringLiteral("GEN_ID"));
}

std::unique_ptr<FbQuery> TDataMod::NewQuery(const QString &sql)
{
    return std::make_unique<FbQuery>(IBDBCorvanta, IBTransaction1, sql);
}

void TDataMod::readProject(FbQuery &query)
{
    m_projectId = query.asInt(QStringLiteral("PROJECT_ID"));
    m_projectName = query.asString(QStringLiteral("PROJECT_NAME"));
    m_lastUpload = query.asDateTime(QStringLiteral("FTP_LAST_UPLOAD"));
}

void TDataMod::SelectProject(int projectId)
{
    auto query = NewQuery(QStringLiteral("select * from CMS_PROJECT where PROJECT_ID = :ID"));
    query->setParam(QStringLiteral("ID"), projectId);
    query->open();
    if (!query->next())
        throw FbError(QStringLiteral("There is no project with the id %1.").arg(projectId));
    readProject(*query);
}

bool TDataMod::SelectFirstProject()
{
    auto query = NewQuery(QStringLiteral("select first 1 * from CMS_PROJECT order by PROJECT_NAME, PROJECT_ID"));
    query->open();
    if (!query->next())
        return false;
    readProject(*query);
    return true;
}

void TDataMod::MarkUploaded()
{
    auto query = NewQuery(QStringLiteral("UPDATE CMS_PROJECT SET FTP_LAST_UPLOAD=CURRENT_TIMESTAMP WHERE PROJECT_ID=:ID"));
    query->setParam(QStringLiteral("ID"), m_projectId);
    query->execute();
    SelectProject(m_projectId); // the upload list compares file times against the new value
}

}
