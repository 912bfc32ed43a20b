#include "common/datetime.h"
#include "common/testdb.h"
#include "db/schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::db;
using corvanta::test::TempDir;
using corvanta::test::TestDatabase;

namespace {

int count(TDataMod &dm, const QString &sql)
{
    auto q = dm.NewQuery(sql);
    q->open();
    q->next();
    return q->asInt(QStringLiteral("N"));
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

// A project with one row in every table; ids: project 1, page 2, collection 3, item 4,
// template 5, snippet 6, second item 7.
void fillProject(TestDatabase &db)
{
    db.exec("insert into cms_project (project_id, project_name) values (1, 'P')");
    db.exec("insert into cms_page (page_id, fk_project_id, page_name) values (2, 1, 'index.html')");
    db.exec("update cms_project set fk_page_id = 2 where project_id = 1");
    db.exec("insert into cms_collection (collection_id, fk_project_id, collection_name, collection_code, "
            "fk_page_id, collection_sortby, collection_sortdesc) values (3, 1, 'News', 'NEWS', 2, 0, 0)");
    db.exec("insert into cms_data (data_id, fk_project_id, data_name) values (4, 1, 'A')");
    db.exec("insert into cms_data (data_id, fk_project_id, data_name) values (7, 1, 'B')");
    db.exec("insert into cms_template (template_id, fk_project_id, template_name) values (5, 1, 'Full')");
    db.exec("insert into cms_snippet (snippet_id, fk_project_id, snippet_name) values (6, 1, 'HEADER')");
    db.exec("insert into cms_collection_data (fk_collection_id, fk_data_id) values (3, 4)");
    db.exec("insert into cms_collection_data (fk_collection_id, fk_data_id) values (3, 7)");
    db.exec("insert into cms_collection_template (fk_collection_id, fk_template_id) values (3, 5)");
    db.exec("insert into cms_data_data (fk_collection_id_master, fk_data_id_master, "
            "fk_collection_id_detail, fk_data_id_detail) values (3, 4, 3, 7)");
}

}

TEST(Schema, CreatesAllTablesAndTheGenerator)
{
    TestDatabase db;
    for (const QString &table : schemaTables())
        EXPECT_EQ(count(db.dm(), "select count(*) as N from " + table), 0) << table.toStdString();
    EXPECT_EQ(count(db.dm(), "select count(*) as N from rdb$generators where rdb$generator_name = 'GEN_CMS_ID'"), 1);
}

TEST(Schema, DeletingAProjectRemovesAllItsRows)
{
    TestDatabase db;
    fillProject(db);
    db.exec("delete from cms_project where project_id = 1");
    for (const QString &table : schemaTables())
        EXPECT_EQ(count(db.dm(), "select count(*) as N from " + table), 0) << table.toStdString();
}

TEST(Schema, DeletingAPageClearsHomePageReferences)
{
    TestDatabase db;
    fillProject(db);
    db.exec("delete from cms_page where page_id = 2");
    EXPECT_EQ(count(db.dm(), "select count(*) as N from cms_project where fk_page_id is null"), 1);
    EXPECT_EQ(count(db.dm(), "select count(*) as N from cms_collection where fk_page_id is null"), 1);
}

TEST(Schema, DeletingARecordRemovesItsMembershipsLinksAndTemplates)
{
    const struct
    {
        const char *deletion;
        int memberships, collectionTemplates, links;
    } cases[] = {
        {"delete from cms_data where data_id = 7", 1, 1, 0},
        {"delete from cms_data where data_id = 4", 1, 1, 0},
        {"delete from cms_template where template_id = 5", 2, 0, 1},
        {"delete from cms_collection where collection_id = 3", 0, 0, 0},
    };
    for (const auto &c : cases) {
        TestDatabase db;
        fillProject(db);
        db.exec(c.deletion);
        EXPECT_EQ(count(db.dm(), "select count(*) as N from cms_collection_data"), c.memberships) << c.deletion;
        EXPECT_EQ(count(db.dm(), "select count(*) as N from cms_collection_template"), c.collectionTemplates) << c.deletion;
        EXPECT_EQ(count(db.dm(), "select count(*) as N from cms_data_data"), c.links) << c.deletion;
    }
}

TEST(Schema, RefusesRowsWithoutTheirRequiredColumnsOrOwner)
{
    TestDatabase db;
    EXPECT_THROW(db.exec("insert into cms_page (page_id, fk_project_id) values (1, 99)"), FbError);
    EXPECT_THROW(db.exec("insert into cms_page (page_id, fk_project_id, page_name) values (1, 99, 'x')"), FbError);
}

TEST(NextId, DrawsOneIdPerCallAndNeverReusesOne)
{
    TestDatabase db;
    const int first = db.dm().NextId();
    EXPECT_EQ(db.dm().NextId(), first + 1);
    db.dm().IBTransaction1.rollback(); // increments survive a rollback
    EXPECT_EQ(db.dm().NextId(), first + 2);
    db.reconnect();
    EXPECT_EQ(db.dm().NextId(), first + 3);
}

TEST(Query, RoundTripsTextsBlobsDatesAndNulls)
{
    TestDatabase db;
    const QString name = QStringLiteral("Zürich – 東京 ✓");
    const QString body = QString(QStringLiteral("{\\rtf1 ÿ€ ")).repeated(20000); // several blob segments
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7, 800));
    auto insert = db.dm().NewQuery(
        "insert into cms_project (project_id, project_name, project_description, ftp_last_upload) "
        "values (:id, :name, :body, :when)");
    insert->setParam("id", 1);
    insert->setParam("name", name);
    insert->setParam("body", body);
    insert->setParam("when", when);
    insert->execute();
    db.exec("insert into cms_project (project_id) values (2)");
    db.reconnect();

    auto q = db.dm().NewQuery("select * from cms_project where project_id = :id");
    q->setParam("id", 1);
    q->open();
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->asString("project_name"), name);
    EXPECT_EQ(q->asString("PROJECT_DESCRIPTION"), body);
    EXPECT_EQ(q->asDateTime("FTP_LAST_UPLOAD"), when);
    EXPECT_FALSE(q->next());

    q->setSql("select * from cms_project where project_id = :id");
    q->setParam("id", 2);
    q->open();
    ASSERT_TRUE(q->next());
    EXPECT_TRUE(q->isNull("FK_PAGE_ID"));
    EXPECT_EQ(q->asInt("FK_PAGE_ID"), 0);
    EXPECT_EQ(q->asString("PROJECT_NAME"), QString());
    EXPECT_EQ(q->asString("PROJECT_DESCRIPTION"), QString());
    EXPECT_TRUE(isZeroDateTime(q->asDateTime("FTP_LAST_UPLOAD")));
}

TEST(Query, ReportsMisuseWithClearErrors)
{
    TestDatabase db;
    auto q = db.dm().NewQuery("select * from cms_project where project_id = :id");
    try {
        q->open();
        FAIL() << "a parameter without a value must be refused";
    } catch (const FbError &e) {
        EXPECT_TRUE(e.message().contains(":ID")) << e.what();
    }
    db.exec("insert into cms_project (project_id) values (1)");
    q->setParam("id", 1);
    q->open();
    ASSERT_TRUE(q->next());
    EXPECT_THROW(q->asString("NO_SUCH_COLUMN"), FbError);

    auto tooLong = db.dm().NewQuery("update cms_project set project_name = :n");
    tooLong->setParam("n", QString(129, u'x'));
    try {
        tooLong->execute();
        FAIL() << "a text longer than its column must be refused";
    } catch (const FbError &e) {
        EXPECT_TRUE(e.message().contains("truncation")) << e.what();
    }
}

TEST(DataMod, FoldersFollowThePlatformFolders)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(TDataMod::DataFolder(), data + "/Tessivon/Corvanta/2.0/");
    EXPECT_EQ(TDataMod::DatabaseFile(), data + "/Tessivon/Corvanta/2.0/Corvanta.fdb");
    EXPECT_EQ(TDataMod::BackupFolder(), data + "/Tessivon/Corvanta/2.0/backup/");
    EXPECT_EQ(TDataMod::OutputFolderFor("My Site"), docs + "/Corvanta/2.0/My Site/");
    EXPECT_EQ(TDataMod::OutputFolderFor(""), docs + "/Corvanta/2.0//");
    EXPECT_TRUE(data.startsWith(qEnvironmentVariable("HOME"))) << "tests must not touch the real home";
}

TEST(DataMod, CurrentProjectAndMarkUploaded)
{
    TestDatabase db;
    EXPECT_FALSE(db.dm().SelectFirstProject());
    EXPECT_EQ(db.dm().CurrentProjectId(), 0);
    db.exec("insert into cms_project (project_id, project_name) values (5, 'Beta')");
    db.exec("insert into cms_project (project_id, project_name) values (6, 'Alpha')");
    ASSERT_TRUE(db.dm().SelectFirstProject());
    EXPECT_EQ(db.dm().CurrentProjectId(), 6);
    EXPECT_EQ(db.dm().CurrentProjectName(), "Alpha");
    EXPECT_TRUE(db.dm().OutputFolder().endsWith("/Corvanta/2.0/Alpha/"));

    EXPECT_TRUE(isZeroDateTime(db.dm().LastUploadTime()));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    db.dm().MarkUploaded();
    EXPECT_GE(db.dm().LastUploadTime(), before);
    EXPECT_EQ(count(db.dm(), "select count(*) as N from cms_project where ftp_last_upload is not null"), 1);

    try {
        db.dm().SelectProject(42);
        FAIL() << "an unknown project id must be refused";
    } catch (const FbError &e) {
        EXPECT_TRUE(e.message().contains("42"));
    }
}

TEST(DataMod, BadDatabaseFilesGiveClearErrorsAndStayUnchanged)
{
    TempDir dir;
    const QString missing = dir.path("missing.fdb");
    const QString corrupt = dir.path("corrupt.fdb");
    const QString empty = dir.path("empty.fdb");
    {
        QFile f(corrupt);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(20000, 'x'));
    }
    {
        FbDatabase plain; // a valid database without our tables
        plain.setDatabaseName(empty);
        plain.create();
    }
    const QByteArray corruptHash = fileHash(corrupt);
    const struct
    {
        QString path;
        const char *expected;
    } cases[] = {
        {missing, "does not exist"},
        {corrupt, "Cannot open the database"},
        {empty, "CMS_PROJECT, CMS_PAGE"},
    };
    for (const auto &c : cases) {
        TDataMod dm(c.path);
        try {
            dm.Connect();
            ADD_FAILURE() << "connecting to " << c.path.toStdString() << " must fail";
        } catch (const FbError &e) {
            EXPECT_TRUE(e.message().contains(c.expected)) << e.what();
            EXPECT_TRUE(e.message().contains(c.path)) << e.what();
        }
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(fileHash(corrupt), corruptHash);
}

TEST(CreateDatabase, RefusesAnExistingFileAndLeavesItAlone)
{
    TempDir dir;
    const QString path = dir.path("existing.fdb");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("precious");
    }
    try {
        CreateDatabase(path);
        FAIL() << "an existing file must not be overwritten";
    } catch (const FbError &e) {
        EXPECT_TRUE(e.message().contains("already exists")) << e.what();
    }
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), "precious");
}

TEST(CreateDatabase, CreatesMissingParentFolders)
{
    TempDir dir;
    const QString path = dir.path("a/b/c.fdb");
    CreateDatabase(path);
    TDataMod dm(path);
    EXPECT_NO_THROW(dm.Connect());
}
