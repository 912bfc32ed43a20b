#pragma once

#include "common/testdb.h"

#include <QVariant>

namespace corvanta::test {

inline QVariantMap row(std::initializer_list<std::pair<QString, QVariant>> values)
{
    QVariantMap map;
    for (const auto &[key, value] : values)
        map.insert(key, value);
    return map;
}

// Writes the rows of test projects: one call per row, ids chosen by the test.
class ProjectRows
{
public:
    explicit ProjectRows(TestDatabase &db) : db(db) {}

    void project(int id, const QString &name, QVariant homePage = {}, const QString &remoteRoot = "https://example.org/")
    {
        db.exec("insert into cms_project (project_id, project_name, remote_root) values (:id, :name, :root)",
                row({{"id", id}, {"name", name}, {"root", remoteRoot}}));
        pendingHomePages << qMakePair(id, homePage);
    }
    void page(int id, int projectId, const QString &name, const QString &body = {}, const QString &headTags = {})
    {
        db.exec("insert into cms_page (page_id, fk_project_id, page_name, page_title, page_body, page_headtags) "
                "values (:id, :p, :name, 'Title', :body, :tags)",
                row({{"id", id}, {"p", projectId}, {"name", name}, {"body", body}, {"tags", headTags}}));
    }
    void collection(int id, int projectId, const QString &code, int sortBy, QVariant sortDesc, QVariant page = {})
    {
        db.exec("insert into cms_collection (collection_id, fk_project_id, collection_name, collection_code, "
                "fk_page_id, collection_sortby, collection_sortdesc) values (:id, :p, :code, :code, :page, :by, 0)",
                row({{"id", id}, {"p", projectId}, {"code", code}, {"page", page}, {"by", sortBy}}));
        // A value the editors never write (null, 2) must read as ascending; set it past them.
        db.exec("update cms_collection set collection_sortdesc = :d where collection_id = :id",
                row({{"id", id}, {"d", sortDesc.isNull() ? QVariant(0) : sortDesc}}));
    }
    void item(int id, int projectId, const QString &name, QVariant when = {}, const QString &file = {})
    {
        db.exec("insert into cms_data (data_id, fk_project_id, data_name, data_datetime, data_url, data_file, "
                "data_text, data_abstract) values (:id, :p, :name, :when, :url, :file, :text, 'abstract')",
                row({{"id", id}, {"p", projectId}, {"name", name}, {"when", when},
                     {"url", "https://example.org/" + name}, {"file", file}, {"text", "{\\rtf1 " + name + "}"}}));
    }
    void member(int collectionId, int itemId, QVariant sequence = {})
    {
        db.exec("insert into cms_collection_data (fk_collection_id, fk_data_id, data_sequence) values (:c, :d, :s)",
                row({{"c", collectionId}, {"d", itemId}, {"s", sequence}}));
    }
    void templ(int id, int projectId, const QString &name)
    {
        db.exec("insert into cms_template (template_id, fk_project_id, template_name, template_body) values (:id, :p, :n, 'B')",
                row({{"id", id}, {"p", projectId}, {"n", name}}));
    }
    void show(int collectionId, int templateId)
    {
        db.exec("insert into cms_collection_template (fk_collection_id, fk_template_id) values (:c, :t)",
                row({{"c", collectionId}, {"t", templateId}}));
    }
    void link(int mc, int md, int dc, int dd, int sequence)
    {
        db.exec("insert into cms_data_data (fk_collection_id_master, fk_data_id_master, fk_collection_id_detail, "
                "fk_data_id_detail, data_sequence) values (:mc, :md, :dc, :dd, :s)",
                row({{"mc", mc}, {"md", md}, {"dc", dc}, {"dd", dd}, {"s", sequence}}));
    }

    void snippet(int id, int projectId, const QString &name, const QString &text)
    {
        db.exec("insert into cms_snippet (snippet_id, fk_project_id, snippet_name, snippet_text) values (:id, :p, :n, :t)",
                row({{"id", id}, {"p", projectId}, {"n", name}, {"t", text}}));
    }
    // Sets the home pages named with the projects, once their pages exist.
    void finish()
    {
        for (const auto &[id, homePage] : std::as_const(pendingHomePages))
            db.exec("update cms_project set fk_page_id = :page where project_id = :id", row({{"id", id}, {"page", homePage}}));
        pendingHomePages.clear();
    }

    TestDatabase &db;
    QList<QPair<int, QVariant>> pendingHomePages;
};

}
